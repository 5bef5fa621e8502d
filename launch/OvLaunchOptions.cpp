#include "launch/OvLaunchOptions.h"

#include "errors/OvErrors.h"

namespace {

QString numberText(int n) {
    return n == 0 ? QString() : QString::number(n);
}

// In the order the parser tests the markers.
const OvLaunchOption kOptions[] = {
    {'T', nullptr, [](OvSNMPTarget&, TLaunchTexts& t, const QString& v) { t.LaunchTypeText = v; },
     [](const OvSNMPTarget&) {
         return QString();
     }},
    {'I', nullptr,
     [](OvSNMPTarget& g, TLaunchTexts& t, const QString& v) {
         t.AddressText = v;
         g.Device.Address = v;
     },
     [](const OvSNMPTarget& g) {
         return g.Device.Address;
     }},
    {'t', "VELMARN_PORT",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) {
         g.Device.Port = static_cast<quint16>(OvStrToInt(v) & 0xFFFF);
     },
     [](const OvSNMPTarget& g) {
         return numberText(g.Device.Port);
     }},
    {'v', "VELMARN_VERSION",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) {
         g.Security.Version = static_cast<quint8>(OvStrToInt(v) & 0xFF);
     },
     [](const OvSNMPTarget& g) {
         return QString::number(g.Security.Version);
     }},
    {'c', "VELMARN_CONTEXT_NAME",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Scope.ContextName = v; },
     [](const OvSNMPTarget& g) {
         return g.Scope.ContextName;
     }},
    {'d', "VELMARN_CONTEXT_ENGINE_ID",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Scope.ContextEngineID = v; },
     [](const OvSNMPTarget& g) {
         return g.Scope.ContextEngineID;
     }},
    {'R', "VELMARN_READ_COMMUNITY",
     [](OvSNMPTarget& g, TLaunchTexts& t, const QString& v) {
         g.Security.ReadCommunity = v;
         t.ReadCommunityText = v;
     },
     [](const OvSNMPTarget& g) {
         return g.Security.ReadCommunity;
     }},
    {'W', "VELMARN_WRITE_COMMUNITY",
     [](OvSNMPTarget& g, TLaunchTexts& t, const QString& v) {
         g.Security.WriteCommunity = v;
         t.WriteCommunityText = v;
     },
     [](const OvSNMPTarget& g) {
         return g.Security.WriteCommunity;
     }},
    {'m', "VELMARN_SECURITY_MODEL",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Security.SecurityModel = OvStrToInt(v); },
     [](const OvSNMPTarget& g) {
         return numberText(g.Security.SecurityModel);
     }},
    {'l', "VELMARN_SECURITY_LEVEL",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Security.SecurityLevel = OvStrToInt(v); },
     [](const OvSNMPTarget& g) {
         return numberText(g.Security.SecurityLevel);
     }},
    {'n', "VELMARN_SECURITY_NAME",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Security.SecurityName = v; },
     [](const OvSNMPTarget& g) {
         return g.Security.SecurityName;
     }},
    {'A', "VELMARN_AUTH_PASSPHRASE",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Security.AuthPassword = v; },
     [](const OvSNMPTarget& g) {
         return g.Security.AuthPassword;
     }},
    {'P', "VELMARN_PRIV_PASSPHRASE",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Security.PrivPassword = v; },
     [](const OvSNMPTarget& g) {
         return g.Security.PrivPassword;
     }},
    {'a', "VELMARN_AUTH_PROTOCOL",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Security.AuthProtocol = OvStrToInt(v); },
     [](const OvSNMPTarget& g) {
         return numberText(g.Security.AuthProtocol);
     }},
    {'p', "VELMARN_PRIV_PROTOCOL",
     [](OvSNMPTarget& g, TLaunchTexts&, const QString& v) { g.Security.PrivProtocol = OvStrToInt(v); },
     [](const OvSNMPTarget& g) {
         return numberText(g.Security.PrivProtocol);
     }},
    // Tested last: no argument holding another marker changes meaning.
    {'N', nullptr,
     [](OvSNMPTarget&, TLaunchTexts& t, const QString& v) {
         t.NotificationPort = static_cast<quint16>(OvStrToInt(v) & 0xFFFF);
     },
     [](const OvSNMPTarget&) {
         return QString();
     }},
    {'C', nullptr,
     [](OvSNMPTarget&, TLaunchTexts& t, const QString& v) {
         t.TrapCommunity = v.isNull() ? QStringLiteral("") : v; // given, if empty
     },
     [](const OvSNMPTarget&) {
         return QString();
     }},
};

} // namespace

const OvLaunchOption* OvLaunchOptions() {
    return kOptions;
}

int OvLaunchOptionCount() {
    return static_cast<int>(std::size(kOptions));
}

void OvParseLaunchOptions(const QStringList& arguments, OvSNMPTarget& target, TLaunchTexts& texts) {
    for (const QString& argument : arguments) {
        for (const OvLaunchOption& option : kOptions) {
            const QString marker = QStringLiteral("/") + QLatin1Char(option.Letter);
            const int at = argument.indexOf(marker, 0, Qt::CaseSensitive);
            if (at < 0)
                continue;
            option.Set(target, texts, argument.mid(at + 2));
            break; // the first marker found decides
        }
    }
}

QString OvTrapCommunity(const TLaunchTexts& texts, const OvSNMPTarget& target) {
    if (!texts.TrapCommunity.isNull())
        return texts.TrapCommunity;
    // An SNMPv3 module takes unauthenticated notifications only when told to.
    return target.Security.Version == 3 ? QString() : target.Security.ReadCommunity;
}
