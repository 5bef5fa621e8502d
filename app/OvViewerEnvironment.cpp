#include "app/OvViewerEnvironment.h"

namespace {

struct Setting {
    const char* Variable;
    const char* Marker;
};

const Setting kSettings[] = {
    {"VELMARN_PORT", "/t"},
    {"VELMARN_VERSION", "/v"},
    {"VELMARN_CONTEXT_NAME", "/c"},
    {"VELMARN_CONTEXT_ENGINE_ID", "/d"},
    {"VELMARN_READ_COMMUNITY", "/R"},
    {"VELMARN_WRITE_COMMUNITY", "/W"},
    {"VELMARN_SECURITY_MODEL", "/m"},
    {"VELMARN_SECURITY_LEVEL", "/l"},
    {"VELMARN_SECURITY_NAME", "/n"},
    {"VELMARN_AUTH_PASSPHRASE", "/A"},
    {"VELMARN_PRIV_PASSPHRASE", "/P"},
    {"VELMARN_AUTH_PROTOCOL", "/a"},
    {"VELMARN_PRIV_PROTOCOL", "/p"},
};

QString valueOf(const OvSNMPTarget& target, char marker) {
    const OvSNMPSecurity& sec = target.Security;
    auto number = [](int n) {
        return n == 0 ? QString() : QString::number(n);
    };
    switch (marker) {
    case 't':
        return number(target.Device.Port);
    case 'v':
        return QString::number(sec.Version);
    case 'c':
        return target.Scope.ContextName;
    case 'd':
        return target.Scope.ContextEngineID;
    case 'R':
        return sec.ReadCommunity;
    case 'W':
        return sec.WriteCommunity;
    case 'm':
        return number(sec.SecurityModel);
    case 'l':
        return number(sec.SecurityLevel);
    case 'n':
        return sec.SecurityName;
    case 'A':
        return sec.AuthPassword;
    case 'P':
        return sec.PrivPassword;
    case 'a':
        return number(sec.AuthProtocol);
    case 'p':
        return number(sec.PrivProtocol);
    default:
        return QString();
    }
}

} // namespace

QProcessEnvironment OvViewerEnvironment(const OvSNMPTarget& target, QProcessEnvironment base) {
    for (const Setting& s : kSettings) {
        const QString name = QLatin1String(s.Variable);
        const QString value = valueOf(target, s.Marker[1]);
        if (value.isEmpty())
            base.remove(name);
        else
            base.insert(name, value);
    }
    return base;
}

QString OvApplyViewerEnvironment(const QProcessEnvironment& environment, OvSNMPTarget& target,
                                 TLaunchTexts& texts) {
    QString letters;
    for (const Setting& s : kSettings) {
        const QString value = environment.value(QLatin1String(s.Variable));
        if (value.isEmpty())
            continue;
        OvApplyLaunchOption(s.Marker[1], value, target, texts);
        letters += QLatin1Char(s.Marker[1]);
    }
    return letters;
}

QStringList OvWithoutEmptyOptions(const QStringList& arguments, const QString& letters) {
    QStringList kept;
    for (const QString& argument : arguments) {
        const bool empty =
            argument.size() == 2 && argument[0] == QLatin1Char('/') && letters.contains(argument[1]);
        if (!empty)
            kept << argument;
    }
    return kept;
}
