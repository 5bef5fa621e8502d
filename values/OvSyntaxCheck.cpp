#include "values/OvSyntaxCheck.h"

#include "errors/OvErrors.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxText.h"
#include "values/OvWireValue.h"

#include <QRegularExpression>

namespace {

using namespace OvSyntax;

bool isWholeNumberSyntax(int syntax) {
    return syntax == integer || syntax == counter || syntax == guage || syntax == uinteger ||
           syntax == OvSyntax::counter64;
}

} // namespace

bool OvHoldsValue(int syntax, const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?\\d"));
    switch (syntax) {
    case integer:
    case counter:
    case guage:
    case uinteger:
    case OvSyntax::counter64:
        return number.match(text).hasMatch();
    case timeticks: {
        quint32 ticks = 0;
        return OvParseTicks(text, ticks);
    }
    default:
        return true;
    }
}

void OvCheckWholeValue(int syntax, const QString& text) {
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    if (isWholeNumberSyntax(syntax) && !wholeNumber.match(text).hasMatch())
        throw OvException(OvCode::BadPartialValue);
    // A write carries values only: an absent value is not sent as NULL.
    if (OvWireValueOf(syntax, text).Tag == null)
        throw OvException(OvCode::BadPartialValue);
}
