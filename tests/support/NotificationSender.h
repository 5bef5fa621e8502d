#pragma once

#include "SessionFixture.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

// One BER element: tag, definite length, content (for hand-made datagrams).
inline QByteArray BerElement(char tag, const QByteArray& content) {
    QByteArray out(1, tag);
    const int n = content.size();
    if (n < 0x80) {
        out += char(n);
    } else if (n < 0x100) {
        out += char(0x81);
        out += char(n);
    } else {
        out += char(0x82);
        out += char(n >> 8);
        out += char(n & 0xFF);
    }
    return out + content;
}

// net-snmp's snmptrap and snmpinform as senders to 127.0.0.1: each run gets its own
// empty configuration and state folder, and the event loop keeps running while it waits,
// so that the receiver can acknowledge an inform.
class NotificationSender {
public:
    // The senders' state folder, with what they would otherwise announce creating.
    NotificationSender() { QDir(State.path()).mkpath(QStringLiteral("cert_indexes")); }

    // The SNMPv3 options of the module's test user, at authPriv.
    static QStringList V3Options(const QString& auth = QStringLiteral("velmarn-auth"),
                                 const QString& priv = QStringLiteral("velmarn-priv"),
                                 const QString& user = QStringLiteral("velmarn")) {
        return {QStringLiteral("-v3"),
                QStringLiteral("-u"),
                user,
                QStringLiteral("-l"),
                QStringLiteral("authPriv"),
                QStringLiteral("-a"),
                QStringLiteral("SHA"),
                QStringLiteral("-A"),
                auth,
                QStringLiteral("-x"),
                QStringLiteral("AES"),
                QStringLiteral("-X"),
                priv};
    }

    // Runs program (snmptrap or snmpinform) with options, to 127.0.0.1:port, with the
    // uptime, notification OID and bindings after. Returns its exit status, -1 when it
    // did not end in time.
    int Send(const QString& program, const QStringList& options, quint16 port,
             const QStringList& notification, const QString& to = QStringLiteral("127.0.0.1")) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MIBS"), QString());
        env.insert(QStringLiteral("HOME"), State.path());
        env.insert(QStringLiteral("SNMPCONFPATH"), State.path());
        env.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), State.path());
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QString target =
            to.contains(QLatin1Char(':')) ? QString(QStringLiteral("udp6:[") + to + QLatin1Char(']')) : to;
        process.start(program, QStringList{QStringLiteral("-M"), QStringLiteral("/dev/null"),
                                           QStringLiteral("-r0"), QStringLiteral("-t2")} +
                                   options + QStringList{target + QLatin1Char(':') + QString::number(port)} +
                                   notification);
        if (!WaitFor([&process] { return process.state() == QProcess::NotRunning; }, 15000))
            return -1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

private:
    QTemporaryDir State;
};
