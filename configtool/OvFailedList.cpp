#include "configtool/OvFailedList.h"

#include "values/OvSaveFile.h"

#include <QStringList>
#include <algorithm>

namespace {

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && text == text.trimmed())
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace

QByteArray OvFailedList::Text(const std::vector<OvDeviceEntry>& failed) {
    if (failed.empty())
        return {};
    const QString header = failed.front().Header;
    const bool oneForm = std::all_of(failed.begin(), failed.end(), [&header](const OvDeviceEntry& e) {
        return e.FromCsv == !header.isEmpty() && e.Header == header;
    });
    QStringList lines;
    if (oneForm) {
        if (!header.isEmpty())
            lines << header;
        for (const OvDeviceEntry& e : failed)
            lines << e.Line;
    } else { // a plain line's port is in its address already
        lines << QStringLiteral("address,profile,name");
        for (const OvDeviceEntry& e : failed)
            lines << QStringList{csvField(e.Address), csvField(e.Profile), csvField(e.Name)}.join(
                QLatin1Char(','));
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

bool OvFailedList::Write(const QString& file, const std::vector<OvDeviceEntry>& failed, QString& error) {
    OvReplacingFile out(file);
    if (out.Open() && out.Write(Text(failed)) && out.Commit())
        return true;
    error = out.Error();
    return false;
}
