#include "values/OvSyntaxName.h"

#include "values/OvSyntax.h"

QString OvSyntaxName(int syntax) {
    using namespace OvSyntax;
    switch (syntax) {
    case boolean:
        return QStringLiteral("boolean");
    case integer:
        return QStringLiteral("integer");
    case octetstr:
        return QStringLiteral("octetstr");
    case objectid:
        return QStringLiteral("objectid");
    case ipaddress:
        return QStringLiteral("ipaddress");
    case counter:
        return QStringLiteral("counter");
    case guage:
        return QStringLiteral("gauge");
    case timeticks:
        return QStringLiteral("timeticks");
    case OvSyntax::counter64:
        return QStringLiteral("counter64");
    case uinteger:
        return QStringLiteral("unsigned");
    case macaddress:
        return QStringLiteral("macaddress");
    case datetime:
        return QStringLiteral("dateandtime");
    case displaystr:
        return QStringLiteral("displaystring");
    default:
        return QStringLiteral("syntax-%1").arg(syntax);
    }
}
