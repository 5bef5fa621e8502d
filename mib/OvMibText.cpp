#include "mib/OvMibText.h"

#include "values/OvSyntaxText.h"
#include "values/OvCsv.h"

#include <QStringDecoder>

namespace {

// The digits run starting at i, its end in end.
QStringView digitsAt(const QString& s, qsizetype i, qsizetype& end) {
    end = i;
    while (end < s.size() && s[end].isDigit())
        ++end;
    return QStringView(s).mid(i, end - i);
}

int compareNumbers(QStringView a, QStringView b) {
    while (a.size() > 1 && a.front() == QLatin1Char('0'))
        a = a.mid(1);
    while (b.size() > 1 && b.front() == QLatin1Char('0'))
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

QString OvMibOctetsText(const QByteArray& octets) {
    QString text;
    return OvPlainText(octets, text) ? OvMibPresent(text) : OvHexText(octets);
}

QByteArray OvMibCsvLine(const QStringList& cells) {
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        const QString& cell = cells[i];
        if (!cell.isNull())
            line += cell.isEmpty() ? QStringLiteral("\"\"") : OvCsvField(cell);
    }
    line += QStringLiteral("\r\n");
    return line.toUtf8();
}

bool OvMibLess(const QString& a, const QString& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && !b.isNull();
    bool aNumber = false, bNumber = false;
    const double x = a.toDouble(&aNumber);
    const double y = b.toDouble(&bNumber);
    if (aNumber && bNumber && x != y)
        return x < y;
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ie = 0, je = 0;
            const int order = compareNumbers(digitsAt(a, i, ie), digitsAt(b, j, je));
            if (order != 0)
                return order < 0;
            i = ie;
            j = je;
            continue;
        }
        const int order = QStringView(a).mid(i, 1).compare(QStringView(b).mid(j, 1), Qt::CaseInsensitive);
        if (order != 0)
            return order < 0;
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    return a < b;
}
