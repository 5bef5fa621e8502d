// The simulated access point answers every object of its data file with the value the
// file gives, every catalogue object with the catalogue's type, refuses writes of
// read-only objects, keeps what is written and lets counters grow.
#include "SimulatorSuite.h"
#include "catalogue/OvCatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <map>

#include <gtest/gtest.h>

namespace {

class Simulator : public SimulatorSuite {
protected:
    QString get(const QString& oid, const char* community = TestAgent::ReadCommunity) {
        return Sim()
            ->Tool(QStringLiteral("snmpget"), {QStringLiteral("-c"), QLatin1String(community)}, {oid})
            .trimmed();
    }
};

// The type word net-snmp's tools print for a catalogue syntax.
QString wireType(int syntax) {
    switch (syntax) {
    case OvSyntax::integer:
        return QStringLiteral("INTEGER");
    case OvSyntax::octetstr:
    case OvSyntax::displaystr:
        return QStringLiteral("STRING|Hex-STRING");
    case OvSyntax::macaddress:
        return QStringLiteral("Hex-STRING");
    case OvSyntax::objectid:
        return QStringLiteral("OID");
    case OvSyntax::ipaddress:
        return QStringLiteral("IpAddress");
    case OvSyntax::counter:
        return QStringLiteral("Counter32");
    default:
        return QStringLiteral("?");
    }
}

struct NamedTable {
    const char* name;
    const TSNMPVarInfo* table;
    bool scalars; // identifiers still need ".0"
};

const NamedTable kTables[] = {
    {"Station", StationConfigTable, true},
    {"APMode", APModeConfigTable, true},
    {"Privacy", PrivacyConfigTable, true},
    {"MACOperation", MACOperationTable, true},
    {"Manufacturer", ManufacturerTable, true},
    {"PHYOperation", PHYOperationTable, true},
    {"Antenna", AntennaTable, true},
    {"TxPower", TxPowerTable, true},
    {"DSS", DSSTable, true},
    {"Counters", CountersTable, false},
    {"SysObjectID", SysObjectIDTable, true},
    {"ConfigSave", ConfigSaveTable, true},
    {"Reboot", RebootTable, true},
    {"ConfigApply", ConfigApplyTable, true},
};

class SimulatorTables : public Simulator, public ::testing::WithParamInterface<NamedTable> {};

} // namespace

TEST_P(SimulatorTables, EveryObjectAnswersWithItsType) {
    for (const TSNMPVarInfo* row = GetParam().table; row->Oid; ++row) {
        const QString oid =
            QString::fromLatin1(row->Oid) + (GetParam().scalars ? QStringLiteral(".0") : QString());
        const QString line = get(oid);
        const QRegularExpression re(
            QStringLiteral("^\\.%1 = (%2): ").arg(QRegularExpression::escape(oid), wireType(row->Syntax)));
        EXPECT_TRUE(re.match(line).hasMatch()) << row->Name << ": " << line.toStdString();
        if (row->Options && line.contains(QStringLiteral("INTEGER: "))) {
            const QString value = line.section(QStringLiteral("INTEGER: "), 1).trimmed();
            EXPECT_GE(row->Options->FindByValue(value), 0) << row->Name << " value " << value.toStdString();
        }
        if (row->Syntax == OvSyntax::macaddress) {
            EXPECT_EQ(
                line.section(QStringLiteral("Hex-STRING: "), 1).trimmed().split(QLatin1Char(' ')).size(), 6)
                << row->Name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, SimulatorTables, ::testing::ValuesIn(kTables), RowName());

namespace {

// What net-snmp's tools print for one object: the type word and the value.
struct Answer {
    QString Type;
    QString Value;
    bool operator==(const Answer& o) const { return Type == o.Type && Value == o.Value; }
};
std::ostream& operator<<(std::ostream& os, const Answer& a) {
    return os << a.Type.toStdString() << ": " << a.Value.toStdString();
}

// One line of the data file: the object and what it must answer. A growing counter
// (numeric with a rate) has no fixed value.
struct Recorded {
    QString Oid;
    Answer Expected;
    bool Grows = false;
};

// The data file read as its author meant it, independent of how snmpsim splits it:
// "oid|type[x][:module]|value", the value of writecache after "value=" or "hexvalue=".
std::vector<Recorded> recordedObjects(const QString& path) {
    static const std::map<QString, QString> typeWords = {{QStringLiteral("2"), QStringLiteral("INTEGER")},
                                                         {QStringLiteral("4"), QStringLiteral("Hex-STRING")},
                                                         {QStringLiteral("6"), QStringLiteral("OID")},
                                                         {QStringLiteral("64"), QStringLiteral("IpAddress")},
                                                         {QStringLiteral("65"), QStringLiteral("Counter32")},
                                                         {QStringLiteral("66"), QStringLiteral("Gauge32")},
                                                         {QStringLiteral("67"), QStringLiteral("Timeticks")},
                                                         {QStringLiteral("70"), QStringLiteral("Counter64")}};
    std::vector<Recorded> objects;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return objects;
    for (const QString& line :
         QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString oid = line.section(QLatin1Char('|'), 0, 0);
        const QString tag = line.section(QLatin1Char('|'), 1, 1);
        QString value = line.section(QLatin1Char('|'), 2);
        QString type = tag.section(QLatin1Char(':'), 0, 0);
        const QString module = tag.section(QLatin1Char(':'), 1);
        bool hex = type.endsWith(QLatin1Char('x'));
        type.remove(QLatin1Char('x'));
        Recorded r{QLatin1Char('.') + oid, {typeWords.count(type) ? typeWords.at(type) : type, QString()}};
        if (module == QLatin1String("writecache")) {
            hex = value.startsWith(QLatin1String("hexvalue="));
            value = value.section(QLatin1Char('='), 1);
        } else if (module == QLatin1String("numeric")) {
            std::map<QString, QString> settings;
            for (const QString& s : value.split(QLatin1Char(',')))
                settings[s.section(QLatin1Char('='), 0, 0)] = s.section(QLatin1Char('='), 1);
            r.Grows = settings[QStringLiteral("rate")].toLongLong() != 0;
            value = settings[QStringLiteral("initial")];
        }
        if (type == QLatin1String("4"))
            value = QString::fromLatin1(
                (hex ? QByteArray::fromHex(value.toLatin1()) : value.toUtf8()).toHex(' ').toUpper());
        else if (type == QLatin1String("6"))
            value.prepend(QLatin1Char('.'));
        r.Expected.Value = value;
        objects.push_back(r);
    }
    return objects;
}

// The objects of a tool's output (-On -Ox) in order; lines without a type word (an
// exception such as "No Such Instance", the end of a walk) are left out.
std::vector<std::pair<QString, Answer>> answers(const QString& output) {
    static const QRegularExpression re(QStringLiteral("^(\\.[0-9.]+) = ([A-Za-z0-9-]+): (.*)$"),
                                       QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression ticks(QStringLiteral("^\\((\\d+)\\)"));
    std::vector<std::pair<QString, Answer>> list;
    // Long hex strings go on over several lines.
    for (const QString& entry :
         output.split(QRegularExpression(QStringLiteral("\n(?=\\.)")), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = re.match(entry.trimmed());
        if (!m.hasMatch())
            continue;
        Answer a{m.captured(2), m.captured(3).simplified()};
        if (a.Type == QLatin1String("Timeticks"))
            a.Value = ticks.match(a.Value).captured(1);
        list.emplace_back(m.captured(1), a);
    }
    return list;
}

// The answer matches the data file; a growing counter only its type.
void expectAnswer(const Recorded& r, const Answer& a, const char* how) {
    if (!r.Grows) {
        EXPECT_EQ(a, r.Expected) << how << " " << r.Oid;
        return;
    }
    bool number = false;
    a.Value.toULongLong(&number);
    EXPECT_TRUE(a.Type == r.Expected.Type && number) << how << " " << r.Oid << " " << a;
}

} // namespace

// A line snmpsim cannot read (a comma in a plain value, say) answers nothing at all and
// ends every walk there: each object is read with snmpget and walked with snmpwalk.
TEST_F(Simulator, EveryObjectOfTheDataFileAnswersWhatTheFileSays) {
    const std::vector<Recorded> objects = recordedObjects(TestAgent::SimulatorDataFile());
    ASSERT_GT(objects.size(), 200u);
    const QStringList options{QStringLiteral("-c"), QLatin1String(TestAgent::ReadCommunity),
                              QStringLiteral("-Ox")};
    std::map<QString, Answer> got;
    for (size_t first = 0; first < objects.size(); first += 40) {
        QStringList oids;
        for (size_t i = first; i < std::min(objects.size(), first + 40); ++i)
            oids << objects[i].Oid;
        for (const auto& [oid, answer] : answers(Sim()->Tool(QStringLiteral("snmpget"), options, oids)))
            got[oid] = answer;
    }
    for (const Recorded& r : objects)
        expectAnswer(r, got[r.Oid], "get");

    const auto walked =
        answers(Sim()->Tool(QStringLiteral("snmpwalk"), options, {QStringLiteral("1.3.6.1")}));
    ASSERT_EQ(walked.size(), objects.size())
        << "the walk ended at " << (walked.empty() ? QString() : walked.back().first);
    for (size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(walked[i].first, objects[i].Oid);
        expectAnswer(objects[i], walked[i].second, "walk");
    }
}

TEST_F(Simulator, WritableObjectKeepsWhatWasWritten) {
    int code = -1;
    Sim()->Tool(
        QStringLiteral("snmpset"), {QStringLiteral("-c"), QLatin1String(TestAgent::WriteCommunity)},
        {QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0"), QStringLiteral("s"), QStringLiteral("Lab-7")},
        &code);
    ASSERT_EQ(code, 0);
    EXPECT_TRUE(get(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0")).endsWith(QStringLiteral("\"Lab-7\"")));
    Sim()->Tool(
        QStringLiteral("snmpset"), {QStringLiteral("-c"), QLatin1String(TestAgent::WriteCommunity)},
        {QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.3.0"), QStringLiteral("a"), QStringLiteral("10.9.8.7")},
        &code);
    ASSERT_EQ(code, 0);
    EXPECT_TRUE(
        get(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.3.0")).endsWith(QStringLiteral("IpAddress: 10.9.8.7")));
    // The agent is shared: the values of the data file again.
    ToolSet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.1.4.0"), QStringLiteral("s"),
            QStringLiteral("Velmarn-Lab"));
    ToolSet(QStringLiteral("1.3.6.1.4.1.32473.1.3.1.2.3.0"), QStringLiteral("a"),
            QStringLiteral("192.168.0.20"));
}

TEST_F(Simulator, ReadOnlyObjectRefusesSet) {
    int code = -1;
    Sim()->Tool(QStringLiteral("snmpset"), {QStringLiteral("-c"), QLatin1String(TestAgent::WriteCommunity)},
                {QStringLiteral("1.3.6.1.4.1.32473.1.3.4.1.1.0"), QStringLiteral("i"), QStringLiteral("3")},
                &code);
    EXPECT_NE(code, 0);
    EXPECT_TRUE(get(QStringLiteral("1.3.6.1.4.1.32473.1.3.4.1.1.0")).endsWith(QStringLiteral("INTEGER: 2")));
}

TEST_F(Simulator, CountersGrow) {
    const QString oid = QStringLiteral("1.3.6.1.4.1.32473.1.3.2.2.10.0");
    const quint64 first = get(oid).section(QStringLiteral(": "), 1).toULongLong();
    QThread::msleep(2100);
    const quint64 second = get(oid).section(QStringLiteral(": "), 1).toULongLong();
    EXPECT_GT(second, first);
}

TEST_F(Simulator, SnmpV3UserReadsTheSameData) {
    const QString out = Sim()->Tool(
        QStringLiteral("snmpget"),
        {QStringLiteral("-v3"), QStringLiteral("-u"), QLatin1String(TestAgent::V3User), QStringLiteral("-l"),
         QStringLiteral("authPriv"), QStringLiteral("-a"), QStringLiteral("SHA"), QStringLiteral("-A"),
         QLatin1String(TestAgent::V3AuthPass), QStringLiteral("-x"), QStringLiteral("AES"),
         QStringLiteral("-X"), QLatin1String(TestAgent::V3PrivPass), QStringLiteral("-n"),
         QLatin1String(TestAgent::ReadCommunity)},
        {QStringLiteral("1.3.6.1.2.1.1.2.0")});
    EXPECT_TRUE(out.contains(QStringLiteral("OID: .1.3.6.1.4.1.32473.2.1"))) << out.toStdString();
}
