#include "configtool/OvOptionText.h"

#include "snmp/TSNMPSession.h"

int OvProtocolNumber(const std::vector<OvProtocolName>& names, const QString& name, const char* what) {
    QStringList known;
    for (const OvProtocolName& n : names) {
        if (name.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0)
            return n.Number;
        known << QLatin1String(n.Name);
    }
    known.sort();
    throw OvUsageError(QStringLiteral("unknown %1 protocol \"%2\" (one of %3)")
                           .arg(QLatin1String(what), name, known.join(QStringLiteral(", "))));
}

quint8 OvVersionNumber(const QString& v, const QString& what) {
    if (v == QLatin1String("1"))
        return 0;
    if (v == QLatin1String("2c"))
        return 1;
    if (v == QLatin1String("3"))
        return 3;
    throw OvUsageError(QStringLiteral("%1: 1, 2c or 3, not \"%2\"").arg(what, v));
}

QStringList OvTextLines(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text.split(QLatin1Char('\n'));
}

int OvWholeNumber(const QString& text, int lowest, int highest, const QString& what) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < lowest || n > highest)
        throw OvUsageError(QStringLiteral("%1: \"%2\" is not a number from %3 to %4")
                               .arg(what, OvExcerpt(text))
                               .arg(lowest)
                               .arg(highest));
    return n;
}

int OvMilliseconds(const QString& text, const QString& what) {
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds >= 0.01 && seconds <= 60)) // "nan" compares false either way
        throw OvUsageError(QStringLiteral("%1: \"%2\" is not a number of seconds from 0.01 to 60")
                               .arg(what, OvExcerpt(text)));
    return static_cast<int>(seconds * 1000);
}

QString OvExcerpt(const QString& text) {
    constexpr qsizetype kShown = 200;
    return text.size() <= kShown ? text : text.left(kShown) + QChar(0x2026);
}

void OvCheckCommunity(const QString& community, const QString& what) {
    if (community.isEmpty())
        throw OvUsageError(what + QStringLiteral(": an empty community"));
}

OvCredentials OvBuiltInCredentials() {
    const OvSNMPSecurity defaults = TSNMPSession::Defaults().Security;
    OvCredentials c;
    c.Version = 1;
    c.ReadCommunity = defaults.ReadCommunity;
    c.WriteCommunity = defaults.WriteCommunity;
    return c;
}
