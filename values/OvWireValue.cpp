#include "values/OvWireValue.h"

#include "values/OvSyntax.h"

bool OvIsWireSyntax(int syntax) {
    using namespace OvSyntax;
    switch (syntax) {
    case boolean:
    case integer:
    case bitstr:
    case octetstr:
    case null:
    case objectid:
    case ipaddress:
    case counter:
    case guage:
    case timeticks:
    case opaque:
    case nsapaddr:
    case OvSyntax::counter64:
    case uinteger:
    case double_:
    case macaddress:
    case datetime:
    case bcdatetime:
    case displaystr:
        return true;
    default:
        return false;
    }
}
