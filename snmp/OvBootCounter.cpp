#include "OvBootCounter.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace OvBootCounter {

namespace {

// The entry for our engine: the encoded ID followed by a blank. A line for another ID
// that merely starts with ours is not ours.
bool isOurLine(const QString& line, const QString& encodedId) {
    return line.startsWith(encodedId) &&
           (line.size() == encodedId.size() || line[encodedId.size()].isSpace());
}

bool readLines(const QString& fileName, QStringList& lines) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString all = QString::fromLatin1(f.readAll());
    lines = all.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return true;
}

} // namespace

QString EncodeEngineId(const QByteArray& engineId) {
    QString s;
    s.reserve(engineId.size() * 2);
    for (char c : engineId) {
        const auto b = static_cast<unsigned char>(c);
        s += QChar(64 + (b >> 4));
        s += QChar(64 + (b & 0x0F));
    }
    return s;
}

int Load(const QString& fileName, const QByteArray& engineId, quint32& boots) {
    boots = 0;
    QStringList lines;
    if (!readLines(fileName, lines))
        return CannotOpen;
    const QString id = EncodeEngineId(engineId);
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('#')) || !isOurLine(line, id))
            continue;
        bool ok = false;
        const QString count = line.mid(id.size()).trimmed();
        const qulonglong v = count.toULongLong(&ok, 10);
        if (!ok || v > 0xFFFFFFFFull)
            return Malformed;
        boots = static_cast<quint32>(v);
        return Found;
    }
    return NoEntry;
}

int Save(const QString& fileName, const QByteArray& engineId, quint32 boots) {
    QStringList lines;
    if (!readLines(fileName, lines) || lines.isEmpty()) {
        lines = QStringList{
            QStringLiteral("# SNMPv3 engine boots counters, one line per engine:"),
            QStringLiteral("# the engine ID, two characters per byte, a blank and the count."),
            QStringLiteral("# Written by the Velmarn+ management module; other programs may add lines."),
        };
    }
    const QString id = EncodeEngineId(engineId);
    const QString entry = id + QLatin1Char(' ') + QString::number(boots);
    QStringList out;
    bool written = false;
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1Char('#')) && isOurLine(line, id)) {
            if (!written)
                out << entry;
            written = true;
            continue;
        }
        out << line;
    }
    if (!written)
        out << entry;

    // A file marked read-only stays untouched, also for a user whom the system would let
    // replace it (the rename below would otherwise succeed where a write would not).
    if (QFile::exists(fileName) && !(QFile::permissions(fileName) & QFileDevice::WriteOwner))
        return CannotSave;
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly))
        return CannotSave;
    const QByteArray data = (out.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1();
    if (f.write(data) != data.size())
        return CannotSave;
    return f.commit() ? Found : CannotSave;
}

} // namespace OvBootCounter
