// The simulated access point answers every catalogue object with the catalogue's type,
// refuses writes of read-only objects, keeps what is written and lets counters grow.
#include "SimulatorSuite.h"
#include "catalogue/OvCatalogue.h"

#include <QRegularExpression>
#include <QThread>

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
