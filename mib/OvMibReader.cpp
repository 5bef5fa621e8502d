#include "mib/OvMibReader.h"

#include "errors/OvErrors.h"
#include "snmp/OvScalarRead.h"
#include "snmp/OvTableWalk.h"

namespace {

// A value as shown: the label of an enumerated value, else its text.
QString shown(const TSNMPVarInfo& info, const std::optional<QString>& cell) {
    if (!cell)
        return QString();
    return info.Options ? info.Options->ValueToLabel(*cell) : *cell;
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

std::vector<OvReadObject> columnsOf(const std::vector<const TSNMPVarInfo*>& rows, const QString& suffix) {
    std::vector<OvReadObject> objects;
    for (const TSNMPVarInfo* r : rows)
        objects.push_back({QLatin1String(r->Oid) + suffix, r->Syntax});
    return objects;
}

} // namespace

OvMibReader::OvMibReader(const OvMibView& view, const OvSNMPTarget& target, QObject* parent)
    : QObject(parent), ViewInfo(view), Target(target) {}

OvMibReader::~OvMibReader() = default;

bool OvMibReader::IsReading() const {
    return Current && Current->IsRunning();
}

int OvMibReader::ValueColumn() const {
    switch (ViewInfo.Kind) {
    case OvMibViewKind::Counters:
        return 1;
    case OvMibViewKind::InterfaceCounters:
        return 3;
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
        ReadTable(0);
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
                                counterBits(objects[i]->Syntax)});
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
    std::vector<OvMibRow> out;
    for (const OvTableRow& r : rows) {
        OvMibRow row{dotted(r.Index), source.DecodeIndex ? source.DecodeIndex(r.Index) : QStringList(), 0};
        for (size_t c = 0; c < columns.size(); ++c)
            row.Cells << shown(*columns[c], r.Cells[c]);
        out.push_back(std::move(row));
    }
    return out;
}

void OvMibReader::ReadTable(size_t sourceIndex) {
    const OvMibTableSource& source = ViewInfo.Sources[sourceIndex];
    const std::vector<const TSNMPVarInfo*> columns = OvRowsOf(source.Columns);
    QStringList titles = source.IndexTitles;
    for (const TSNMPVarInfo* c : columns)
        titles << QLatin1String(c->Name);
    SetTitles(titles);
    Walk(
        columns, [this, &source](const std::vector<OvTableRow>& rows) { return TableRows(source, rows); },
        [this, sourceIndex] {
            // This agent has not this table: the next one the view knows, else the view stays empty.
            if (sourceIndex + 1 < ViewInfo.Sources.size())
                ReadTable(sourceIndex + 1);
            else
                Q_EMIT Finished(OvCode::NoSuchName, OvErrorMessage(OvCode::NoSuchName));
        });
}

void OvMibReader::Walk(const std::vector<const TSNMPVarInfo*>& columns, RowMaker makeRows,
                       std::function<void()> whenEmpty) {
    auto* walk = Begin(std::make_unique<OvTableWalk>(Target, columnsOf(columns, QString())));
    connect(walk, &OvTableWalk::RowsArrived, this,
            [this, makeRows](const std::vector<OvTableRow>& rows) { Q_EMIT RowsArrived(makeRows(rows)); });
    connect(walk, &OvAgentRead::Finished, this, [this, walk, whenEmpty](int code, const QString& message) {
        if (code == 0 && walk->RowCount() == 0)
            whenEmpty();
        else
            Q_EMIT Finished(code, message);
    });
    walk->Start();
}

// The keys, then each counter's 32-bit column followed by its 64-bit twin where it has one.
std::vector<const TSNMPVarInfo*> OvMibReader::InterfaceColumns() {
    std::vector<const TSNMPVarInfo*> columns = OvRowsOf(MibInterfaceKeys);
    for (const OvInterfaceCounter& c : OvInterfaceCounters()) {
        columns.push_back(&c.Narrow);
        if (c.Wide)
            columns.push_back(c.Wide);
    }
    return columns;
}

std::vector<OvMibRow> OvMibReader::InterfaceRows(const std::vector<OvTableRow>& rows) const {
    std::vector<OvMibRow> out;
    for (const OvTableRow& r : rows) {
        const QString ifIndex = r.Cells[0].value_or(QString());
        const QString ifDescr = r.Cells[1].value_or(QString());
        size_t column = 2; // in the order of InterfaceColumns
        for (const OvInterfaceCounter& counter : OvInterfaceCounters()) {
            const std::optional<QString>* cell = &r.Cells[column++];
            const TSNMPVarInfo* info = &counter.Narrow;
            if (counter.Wide && r.Cells[column]) { // the 64-bit counter where the agent has it
                cell = &r.Cells[column];
                info = counter.Wide;
            }
            if (counter.Wide)
                ++column;
            if (!*cell)
                continue;
            const QString name = QLatin1String(info->Name);
            out.push_back({ifIndex + QLatin1Char('/') + name,
                           {ifIndex, ifDescr, name, **cell},
                           counterBits(info->Syntax)});
        }
    }
    return out;
}

void OvMibReader::ReadInterfaceCounters() {
    SetTitles({QStringLiteral("ifIndex"), QStringLiteral("ifDescr"), QStringLiteral("Object"),
               QStringLiteral("Value")});
    Walk(
        InterfaceColumns(), [this](const std::vector<OvTableRow>& rows) { return InterfaceRows(rows); },
        [this] { Q_EMIT Finished(OvCode::NoSuchName, OvErrorMessage(OvCode::NoSuchName)); });
}
