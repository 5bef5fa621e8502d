#include "app/OvLaunchOptions.h"

#include "errors/OvErrors.h"

namespace {
const char* const kMarkers[] = {"/T", "/I", "/t", "/v", "/c", "/d", "/R", "/W",
                                "/m", "/l", "/n", "/A", "/P", "/a", "/p"};
} // namespace

void OvApplyLaunchOption(char marker, const QString& value, OvSNMPTarget& target, TLaunchTexts& texts) {
    OvSNMPSecurity& sec = target.Security;
    switch (marker) {
    case 'T':
        texts.LaunchTypeText = value;
        break;
    case 'I':
        texts.AddressText = value;
        target.Device.Address = value;
        break;
    case 't':
        target.Device.Port = static_cast<quint16>(OvStrToInt(value) & 0xFFFF);
        break;
    case 'v':
        sec.Version = static_cast<quint8>(OvStrToInt(value) & 0xFF);
        break;
    case 'c':
        target.Scope.ContextName = value;
        break;
    case 'd':
        target.Scope.ContextEngineID = value;
        break;
    case 'R':
        sec.ReadCommunity = value;
        texts.ReadCommunityText = value;
        break;
    case 'W':
        sec.WriteCommunity = value;
        texts.WriteCommunityText = value;
        break;
    case 'm':
        sec.SecurityModel = OvStrToInt(value);
        break;
    case 'l':
        sec.SecurityLevel = OvStrToInt(value);
        break;
    case 'n':
        sec.SecurityName = value;
        break;
    case 'A':
        sec.AuthPassword = value;
        break;
    case 'P':
        sec.PrivPassword = value;
        break;
    case 'a':
        sec.AuthProtocol = OvStrToInt(value);
        break;
    case 'p':
        sec.PrivProtocol = OvStrToInt(value);
        break;
    default:
        break;
    }
}

void OvParseLaunchOptions(const QStringList& arguments, OvSNMPTarget& target, TLaunchTexts& texts) {
    for (const QString& argument : arguments) {
        for (const char* marker : kMarkers) {
            const int at = argument.indexOf(QLatin1String(marker), 0, Qt::CaseSensitive);
            if (at < 0)
                continue;
            OvApplyLaunchOption(marker[1], argument.mid(at + 2), target, texts);
            break; // the first marker found decides
        }
    }
}
