#include "configtool/OvAddressesFile.h"

#include "configtool/OvConfigOptions.h"
#include "configtool/OvDeviceAddress.h"
#include "configtool/OvOptionText.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

// host and port as one address, or address alone when portText is empty.
void addDevice(std::vector<OvDeviceEntry>& devices, const QString& address, const QString& portText,
               OvDeviceEntry e, const QString& entry) {
    if (portText.isEmpty()) {
        OvCheckAddress(address, entry);
        e.Address = address;
        devices.push_back(e);
        return;
    }
    QString host;
    quint16 port = 0;
    QString wrong = OvSplitAddress(address, host, port);
    if (wrong.isEmpty() && port != 0)
        wrong = QStringLiteral("a port after HOST and another one after a blank");
    if (wrong.isEmpty())
        wrong = OvReadPort(portText, port);
    if (!wrong.isEmpty())
        throw OvUsageError(entry + QStringLiteral(": ") + wrong);
    e.Address = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]:%2").arg(host).arg(port)
                                                : QStringLiteral("%1:%2").arg(host).arg(port);
    devices.push_back(e);
}

// A line of the plain form: "HOST", "HOST:PORT" or "HOST PORT [PROFILE]", then "name=NAME"
// when it has one, "#" and what follows it a comment; nothing when it is blank.
void addDeviceLine(std::vector<OvDeviceEntry>& devices, const QString& text, const QString& where) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QString line = text.left(text.indexOf(QLatin1Char('#'))).trimmed();
    QStringList fields = line.split(blanks, Qt::SkipEmptyParts);
    if (fields.isEmpty())
        return;
    const QString entry = QStringLiteral("%1: \"%2\"").arg(where, OvExcerpt(line));
    QString name;
    if (fields.size() > 1 && fields.last().startsWith(QLatin1String("name="))) {
        name = fields.takeLast().mid(5);
        OvCheckName(name, entry);
    }
    const auto misplaced = [](const QString& f) {
        return f.startsWith(QLatin1String("name="));
    };
    if (fields.size() > 3 || std::any_of(fields.begin() + 1, fields.end(), misplaced))
        throw OvUsageError(entry + QStringLiteral(": not HOST[:PORT] or HOST PORT [PROFILE] [name=NAME]"));
    addDevice(devices, fields[0], fields.value(1), {QString(), fields.value(2), where, line, false, {}, name},
              entry);
}

// The fields of a CSV line, quotes taken off ("a ""b""" is a "b"); false when a quote is
// left open.
bool csvFields(const QString& line, QStringList& fields) {
    fields = {QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"') && quoted && i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
            fields.back() += line[++i];
        else if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char(',') && !quoted)
            fields << QString();
        else
            fields.back() += c;
    }
    for (QString& f : fields)
        f = f.trimmed();
    return !quoted;
}

// The columns a CSV header names, by name; empty when the line is no such header.
QStringList csvHeader(const QString& line) {
    QStringList columns;
    if (!line.contains(QLatin1Char(',')) || !csvFields(line, columns) ||
        !columns.contains(QStringLiteral("address")))
        return {};
    return columns;
}

void addCsvRow(std::vector<OvDeviceEntry>& devices, const QStringList& columns, const QString& header,
               const QString& line, const QString& where) {
    const QString entry = QStringLiteral("%1: \"%2\"").arg(where, OvExcerpt(line));
    QStringList cells;
    if (!csvFields(line, cells) || cells.size() > columns.size())
        throw OvUsageError(
            entry + QStringLiteral(": not a row of the columns %1").arg(columns.join(QLatin1Char(','))));
    auto cell = [&](const char* column) {
        return cells.value(columns.indexOf(QLatin1String(column)));
    };
    if (!cell("name").isEmpty())
        OvCheckName(cell("name"), entry);
    addDevice(devices, cell("address"), cell("port"),
              {QString(), cell("profile"), where, line, true, header, cell("name")}, entry);
}

} // namespace

void OvCheckAddress(const QString& address, const QString& where) {
    QString host;
    quint16 port = 0;
    const QString wrong = OvSplitAddress(address, host, port);
    if (!wrong.isEmpty())
        throw OvUsageError(where + QStringLiteral(": ") + wrong);
}

void OvCheckName(const QString& name, const QString& where) {
    static const QRegularExpression unsafe(QStringLiteral("[<>:\"/\\\\|?*\\x00-\\x1f\\x7f]"));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')) || name.contains(unsafe))
        throw OvUsageError(where + QStringLiteral(": \"%1\" cannot name a file on every system (not empty, "
                                                  "\".\" or \"..\", no dot or blank at the end, none of "
                                                  "< > : \" / \\ | ? * or control characters)")
                                       .arg(OvExcerpt(name)));
}

void OvReadAddressesFile(std::vector<OvDeviceEntry>& devices, const QString& name) {
    const bool standardInput = name == QLatin1String("-");
    const QString shown = standardInput ? QStringLiteral("standard input") : name;
    QFile f(name);
    if (!(standardInput ? f.open(stdin, QIODevice::ReadOnly) : f.open(QIODevice::ReadOnly)))
        throw OvUsageError(QStringLiteral("cannot read %1: %2").arg(shown, f.errorString()));
    const QStringList lines = OvTextLines(f.readAll());
    QStringList columns; // set by a CSV header
    QString header;
    bool first = true; // only the first line that is no comment may be the header
    for (int i = 0; i < lines.size(); ++i) {
        const QString where = QStringLiteral("%1:%2").arg(shown).arg(i + 1);
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (std::exchange(first, false)) {
            columns = csvHeader(line);
            for (const QString& c : columns)
                if (!QStringList{QStringLiteral("address"), QStringLiteral("port"), QStringLiteral("profile"),
                                 QStringLiteral("name")}
                         .contains(c))
                    throw OvUsageError(QStringLiteral("%1: \"%2\": unknown column \"%3\" (address, port, "
                                                      "profile, name)")
                                           .arg(where, OvExcerpt(line), OvExcerpt(c)));
            header = line;
            if (!columns.isEmpty())
                continue;
        }
        if (columns.isEmpty())
            addDeviceLine(devices, lines[i], where);
        else
            addCsvRow(devices, columns, header, line, where);
    }
}
