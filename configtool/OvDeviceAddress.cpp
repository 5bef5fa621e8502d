#include "configtool/OvDeviceAddress.h"

#include <arpa/inet.h>

bool OvIsIPv6(const QString& text) {
    const int percent = text.indexOf(QLatin1Char('%'));
    if (percent == text.size() - 1)
        return false;
    in6_addr bytes;
    return ::inet_pton(AF_INET6, text.left(percent).toLatin1().constData(), &bytes) == 1;
}

QString OvReadPort(const QString& text, quint16& port) {
    bool ok = !text.isEmpty();
    for (const QChar c : text)
        ok = ok && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const uint n = ok ? text.toUInt(&ok) : 0;
    if (!ok || n < 1 || n > 65535)
        return QStringLiteral("\"%1\" is not a port (a whole number from 1 to 65535)").arg(text);
    port = static_cast<quint16>(n);
    return {};
}

QString OvSplitAddress(const QString& address, QString& host, quint16& port) {
    port = 0;
    QString rest; // after the host: nothing or ":PORT"
    if (address.startsWith(QLatin1Char('['))) {
        const int close = address.indexOf(QLatin1Char(']'));
        if (close < 0)
            return QStringLiteral("no \"]\" after \"[\"");
        host = address.mid(1, close - 1);
        if (!OvIsIPv6(host))
            return QStringLiteral("\"%1\" in brackets is not an IPv6 address").arg(host);
        rest = address.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return QStringLiteral("only \":PORT\" may follow \"]\"");
    } else if (address.count(QLatin1Char(':')) > 1) {
        host = address;
        return OvIsIPv6(address) ? QString()
                                 : QStringLiteral("neither HOST:PORT nor an IPv6 address (with a port: "
                                                  "[IPV6]:PORT)");
    } else {
        const int colon = address.indexOf(QLatin1Char(':'));
        host = address.left(colon);
        rest = colon < 0 ? QString() : address.mid(colon);
        if (host.isEmpty())
            return QStringLiteral("no host");
    }
    if (rest.isEmpty())
        return {};
    if (rest.size() == 1)
        return QStringLiteral("no port after \":\"");
    return OvReadPort(rest.mid(1), port);
}
