#include "values/OvEditHint.h"

#include "values/OvEditRule.h"
#include "values/OvSyntax.h"
#include "values/OvNumbers.h"

#include <cfloat>

namespace {

using namespace OvSyntax;

// The syntax's own words, for an edit that holds the whole value.
QString syntaxHint(int syntax) {
    switch (syntax) {
    case octetstr:
    case bitstr:
    case opaque:
        return QStringLiteral("hex octets, e.g. 4C 61 62");
    case macaddress:
        return QStringLiteral("MAC address: six hex octets, e.g. 00 90 2B 1A 2C 3D");
    case displaystr:
        return QStringLiteral("text");
    case integer:
        return QStringLiteral("integer");
    case counter:
    case guage:
    case uinteger:
        return QStringLiteral("whole number 0 to 4294967295");
    case OvSyntax::counter64:
        return QStringLiteral("whole number 0 to 18446744073709551615");
    case ipaddress:
        return QStringLiteral("IPv4 address, e.g. 192.168.0.1");
    case objectid:
        return QStringLiteral("object identifier, e.g. 1.3.6.1.4.1");
    case timeticks:
        return QStringLiteral("time ticks, e.g. 1 day, 2:03:04.05 or a count of hundredths");
    case datetime:
        return QStringLiteral("date and time, e.g. 2024-5-26,13:30:15.0,+1:0");
    case bcdatetime:
        return QStringLiteral("date and time, e.g. 2024/05/26 01:30:15 pm");
    case double_:
        return QStringLiteral("number, e.g. 1.5");
    case boolean:
        return QStringLiteral("true or false");
    default:
        return QString();
    }
}

// A range the rule narrows beyond its letter's own.
bool hasOwnRange(const OvEditRule& rule) {
    switch (rule.Letter) {
    case 'i':
        return rule.Minimum != -2147483648.0 || rule.Maximum != 2147483647.0;
    case 'u':
        return rule.Minimum != 0 || rule.Maximum != 4294967295.0;
    case 'f':
        return rule.Minimum != DBL_MIN || rule.Maximum != DBL_MAX;
    default:
        return false;
    }
}

} // namespace

QString OvEditHint(int syntax, const OvEditRule& rule, bool wholeValue) {
    if (hasOwnRange(rule))
        return QStringLiteral("%1 %2 to %3")
            .arg(rule.Letter == 'f' ? QStringLiteral("number") : QStringLiteral("integer"),
                 OvFloatToStr(rule.Minimum), OvFloatToStr(rule.Maximum));
    QString hint = wholeValue ? syntaxHint(syntax) : QString();
    if (hint.isEmpty()) {
        switch (rule.Letter) {
        case 'h':
            hint = QStringLiteral("hex digits");
            break;
        case 'i':
            hint = QStringLiteral("integer");
            break;
        case 'u':
            hint = QStringLiteral("whole number");
            break;
        case 'f':
            hint = QStringLiteral("number");
            break;
        default:
            break;
        }
    }
    if (rule.MaxLength > 0 && (rule.Letter == 's' || rule.Letter == 'h'))
        hint += QStringLiteral(", %1 %2 characters")
                    .arg((rule.LengthFlags & OvEditRule::FixedLength) ? QStringLiteral("exactly")
                                                                      : QStringLiteral("at most"))
                    .arg(rule.MaxLength);
    return hint;
}
