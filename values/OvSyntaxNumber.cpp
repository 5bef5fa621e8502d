#include "values/OvSyntaxNumber.h"

#include "values/OvNumbers.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxText.h"

#include <cmath>

bool OvNumberTerm(int syntax, const QString& value, QString& term) {
    using namespace OvSyntax;
    switch (syntax) {
    case boolean:
    case bool8:
    case bool16:
        term = value == QLatin1String("true") ? QStringLiteral("1") : QStringLiteral("0");
        return true;
    case integer:
    case counter:
    case guage:
    case OvSyntax::counter64:
    case uinteger:
    case double_:
    case int8:
    case uint8:
    case int16:
    case uint16:
        term = value;
        return true;
    case timeticks: {
        quint32 ticks = 0;
        OvParseTicks(value, ticks);
        term = QString::number(ticks);
        return true;
    }
    case bcdatetime: {
        double days = 0;
        OvParseDaysText(value, days);
        term = OvFloatToStr(days);
        return true;
    }
    default:
        return false;
    }
}

OvNumberFit OvTextOfNumber(int syntax, double x, QString& text) {
    using namespace OvSyntax;
    const double whole = std::trunc(x);
    auto within = [whole](double low, double high) {
        return whole >= low && whole <= high; // NaN fails too
    };
    switch (syntax) {
    case boolean:
        text = x != 0 ? QStringLiteral("true") : QStringLiteral("false");
        return OvNumberFit::Fits;
    case integer:
        if (!within(-2147483648.0, 2147483647.0))
            return OvNumberFit::OutOfRange;
        text = QString::number(static_cast<qint32>(whole));
        return OvNumberFit::Fits;
    case counter:
    case guage:
    case uinteger:
        if (!within(0, 4294967295.0))
            return OvNumberFit::OutOfRange;
        text = QString::number(static_cast<quint32>(whole));
        return OvNumberFit::Fits;
    case timeticks:
        if (!within(0, 4294967295.0))
            return OvNumberFit::OutOfRange;
        text = OvTicksText(static_cast<quint32>(whole));
        return OvNumberFit::Fits;
    case OvSyntax::counter64: // the largest double below 2^64
        if (!within(0, 18446744073709549568.0))
            return OvNumberFit::OutOfRange;
        text = QString::number(static_cast<quint64>(whole));
        return OvNumberFit::Fits;
    case double_:
        text = OvFloatToStr(x);
        return OvNumberFit::Fits;
    case bcdatetime:
        text = OvDaysText(x);
        return OvNumberFit::Fits;
    default:
        return OvNumberFit::NoNumber;
    }
}
