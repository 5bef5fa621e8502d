#include "mib/OvMibReader.h"

#include "errors/OvErrors.h"
#include "mib/OvMibText.h"
#include "values/OvSyntaxText.h"
#include "snmp/OvScalarRead.h"
#include "snmp/OvTableWalk.h"

namespace {

// A value as shown: the label of an enumerated value, a string's exact text (hex octets
// where it is no plain text), else its text; a null QString when the agent has none.
QString shown(const TSNMPVarInfo& info, const std::optional<QString>& cell) {
    if (!cell)
        return QString();
    if (info.Syntax == OvSyntax::displaystr) {
        QByteArray octets;
        return OvParseHex(*cell, octets) ? OvMibOctetsText(octets) : OvMibPresent(*cell);
    }
    return OvMibPresent(info.Options ? info.Options->ValueToLabel(*cell) : *cell);
}

int counterBits(int syntax) {
    return syntax == OvSyntax::counter64 ? 64 : syntax == OvSyntax::counter ? 32 : 0;
}

QString dotted(const OvOidPath& index) {
    QStringList parts;
    for (quint32 n : index)
        parts << QString::number(n);
    return parts.join(QLatin1Char('.'));
}

// Display strings are read as octets: their text is made from the exact bytes.
std::vector<OvReadObject> columnsOf(const std::vector<const TSNMPVarInfo*>& rows, const QString& suffix) {
    std::vector<OvReadObject> objects;
    for (const TSNMPVarInfo* r : rows)
        objects.push_back({QLatin1String(r->Oid) + suffix,
                           r->Syntax == OvSyntax::displaystr ? OvSyntax::octetstr : r->Syntax});
    return objects;
}

QStringList titlesOf(const OvMibTableSource& source) {
    QStringList titles = source.IndexTitles;
    for (const TSNMPVarInfo* c : OvRowsOf(source.Columns))
        titles << QLatin1String(c->Name);
    return titles;
}

} // namespace

OvMibReader::OvMibReader(const OvMibView& view, const OvSNMPTarget& target, QObject* parent)
    : QObject(parent), ViewInfo(view), Target(target) {}

OvMibReader::~OvMibReader() = default;

bool OvMibReader::IsReading() const {
    return Current && Current->IsRunning();
}

int OvMibReader::WrongTypeCells() const {
    return Current ? Current->WrongTypeCells() : 0;
}

int OvMibReader::ValueColumn() const {
    switch (ViewInfo.Kind) {
    case OvMibViewKind::Counters:
        return 1;
    default:
        return -1;
    }
}

void OvMibReader::SetTitles(const QStringList& titles) {
    if (titles == CurrentTitles)
        return;
    CurrentTitles = titles;
    Q_EMIT TitlesChanged(CurrentTitles);
}

template <class Kind> Kind* OvMibReader::Begin(std::unique_ptr<Kind> read) {
    if (Current) {
        // It may be the one whose Finished is running now: it goes when that is over.
        Current->disconnect(this);
        Current.release()->deleteLater();
    }
    Kind* raw = read.get();
    Current = std::move(read);
    return raw;
}

void OvMibReader::Read() {
    switch (ViewInfo.Kind) {
    case OvMibViewKind::Scalars:
    case OvMibViewKind::Counters:
        ReadScalars();
        break;
    case OvMibViewKind::Table:
        ReadTableAt(0);
        break;
    case OvMibViewKind::InterfaceCounters:
        ReadInterfaceCounters();
        break;
    }
}

void OvMibReader::ReadScalars() {
    SetTitles({QStringLiteral("Object"), QStringLiteral("Value")});
    const std::vector<const TSNMPVarInfo*> objects = OvRowsOf(ViewInfo.Sources.front().Columns);
    auto* read = Begin(std::make_unique<OvScalarRead>(Target, columnsOf(objects, QStringLiteral(".0"))));
    connect(read, &OvAgentRead::Finished, this, [this, read, objects](int code, const QString& message) {
        std::vector<OvMibRow> rows;
        for (size_t i = 0; i < objects.size(); ++i) {
            const auto& cell = read->Values()[i];
            if (cell)
                rows.push_back({QLatin1String(objects[i]->Name),
                                {QLatin1String(objects[i]->Name), shown(*objects[i], cell)},
                                {0, counterBits(objects[i]->Syntax)}});
        }
        if (!rows.empty())
            Q_EMIT RowsArrived(rows);
        Q_EMIT Finished(code, message);
    });
    read->Start();
}

std::vector<OvMibRow> OvMibReader::TableRows(const OvMibTableSource& source,
                                             const std::vector<OvTableRow>& rows) const {
    const std::vector<const TSNMPVarInfo*> columns = OvRowsOf(source.Columns);
    int stamp = -1; // the TimeStamp column shown as the time since
    for (size_t c = 0; c < columns.size() && source.TimeStamp && UpTime; ++c)
        if (qstrcmp(columns[c]->Name, source.TimeStamp) == 0)
            stamp = static_cast<int>(source.IndexTitles.size() + static_cast<qsizetype>(c));
    auto since = [this](const QString& cell) {
        quint32 at = 0;
        return !cell.isNull() && OvParseTicks(cell, at) && at <= *UpTime ? OvTicksText(*UpTime - at) : cell;
    };
    std::vector<OvMibRow> out;
    out.reserve(rows.size());
    for (const OvTableRow& r : rows) {
        OvMibRow row{dotted(r.Index), source.DecodeIndex ? source.DecodeIndex(r.Index) : QStringList(), {}};
        for (size_t c = 0; c < columns.size(); ++c)
            row.Cells << shown(*columns[c], r.Cells[c]);
        if (stamp >= 0)
            row.Cells[stamp] = since(row.Cells[stamp]);
        out.push_back(std::move(row));
    }
    return out;
}

void OvMibReader::ReadTableAt(size_t sourceIndex) {
    UpTime.reset();
    if (!ViewInfo.Sources[sourceIndex].TimeStamp) {
        ReadTable(sourceIndex);
        return;
    }
    auto* read = Begin(std::make_unique<OvScalarRead>(
        Target, std::vector<OvReadObject>{{QStringLiteral("1.3.6.1.2.1.1.3.0"), OvSyntax::timeticks}}));
    connect(read, &OvAgentRead::Finished, this, [this, read, sourceIndex](int code, const QString& message) {
        quint32 ticks = 0;
        if (code == 0 && read->Values()[0] && OvParseTicks(*read->Values()[0], ticks))
            UpTime = ticks;
        if (code != 0 && code != OvCode::NoSuchName) {
            Q_EMIT Finished(code, message);
            return;
        }
        ReadTable(sourceIndex); // without sysUpTime the time stamps show as they are
    });
    read->Start();
}

void OvMibReader::ReadTable(size_t sourceIndex) {
    const OvMibTableSource& source = ViewInfo.Sources[sourceIndex];
    Walk(
        OvRowsOf(source.Columns), titlesOf(source),
        [this, &source](const std::vector<OvTableRow>& rows) { return TableRows(source, rows); },
        [this, sourceIndex] {
            // This agent has not this table, or it is empty: the next one the view knows.
            if (sourceIndex + 1 < ViewInfo.Sources.size()) {
                ReadTableAt(sourceIndex + 1);
                return;
            }
            SetTitles(titlesOf(ViewInfo.Sources.front()));
            Q_EMIT Finished(0, QString());
        });
}

void OvMibReader::Walk(const std::vector<const TSNMPVarInfo*>& columns, const QStringList& titles,
                       RowMaker makeRows, std::function<void()> whenEmpty) {
    auto* walk = Begin(std::make_unique<OvTableWalk>(Target, columnsOf(columns, QString())));
    connect(walk, &OvTableWalk::RowsArrived, this,
            [this, titles, makeRows](const std::vector<OvTableRow>& rows) {
                SetTitles(titles);
                Q_EMIT RowsArrived(makeRows(rows));
            });
    connect(walk, &OvAgentRead::Finished, this, [this, walk, whenEmpty](int code, const QString& message) {
        if (code == 0 && walk->RowCount() == 0)
            whenEmpty();
        else
            Q_EMIT Finished(code, message);
    });
    walk->Start();
}

std::vector<const TSNMPVarInfo*> OvMibReader::InterfaceColumns(bool wide) {
    std::vector<const TSNMPVarInfo*> columns = OvRowsOf(MibInterfaceKeys);
    for (const OvInterfaceCounter& c : OvInterfaceCounters()) {
        columns.push_back(&c.Narrow);
        if (wide && c.Wide)
            columns.push_back(c.Wide);
    }
    return columns;
}

namespace {
// The interface's speed in bit/s: ifSpeed, or ifHighSpeed's megabits where ifSpeed is
// at its top (RFC 2863).
QString speedOf(const std::optional<QString>& speed, const std::optional<QString>& highSpeed) {
    if (speed && *speed == QLatin1String("4294967295") && highSpeed)
        return QString::number(highSpeed->toULongLong() * 1000000ull);
    return speed ? *speed : QString();
}
} // namespace

std::vector<OvMibRow> OvMibReader::InterfaceRows(const std::vector<OvTableRow>& rows) const {
    const bool wide = Target.Security.Version != 0;
    const size_t keys = OvRowsOf(MibInterfaceKeys).size(); // ifIndex, ifDescr, ifSpeed, ifHighSpeed
    std::vector<OvMibRow> out;
    out.reserve(rows.size());
    for (const OvTableRow& r : rows) {
        OvMibRow row{dotted(r.Index),
                     {shown(MibInterfaceKeys[0], r.Cells[0]), shown(MibInterfaceKeys[1], r.Cells[1]),
                      speedOf(r.Cells[2], r.Cells[3])},
                     {0, 0, 0}};
        size_t column = keys; // in the order of InterfaceColumns
        for (const OvInterfaceCounter& counter : OvInterfaceCounters()) {
            const std::optional<QString>* cell = &r.Cells[column++];
            const TSNMPVarInfo* info = &counter.Narrow;
            if (wide && counter.Wide) {
                if (r.Cells[column]) { // the 64-bit counter where the agent has it
                    cell = &r.Cells[column];
                    info = counter.Wide;
                }
                ++column;
            }
            row.Cells << shown(*info, *cell);
            row.CounterBits.push_back(*cell ? counterBits(info->Syntax) : 0);
        }
        out.push_back(std::move(row));
    }
    return out;
}

void OvMibReader::ReadInterfaceCounters() {
    const bool wide = Target.Security.Version != 0;
    QStringList titles{QStringLiteral("ifIndex"), QStringLiteral("ifDescr"), QStringLiteral("ifSpeed")};
    for (const OvInterfaceCounter& c : OvInterfaceCounters())
        titles << QLatin1String(wide && c.Wide ? c.Wide->Name : c.Narrow.Name);
    Walk(
        InterfaceColumns(wide), titles,
        [this](const std::vector<OvTableRow>& rows) { return InterfaceRows(rows); },
        [this, titles] {
            SetTitles(titles);
            Q_EMIT Finished(0, QString());
        });
}
