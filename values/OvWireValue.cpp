#include "values/OvWireValue.h"

#include "errors/OvErrors.h"
#include "values/OvByteForm.h"
#include "values/OvDateTime.h"
#include "values/OvNumbers.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxText.h"

namespace {

using namespace OvSyntax;

[[noreturn]] void badValue() {
    throw OvException(OvCode::BadPartialValue);
}

bool isOctetTag(int tag) {
    return tag == octetstr || tag == opaque || tag == bitstr;
}

bool isUnsignedTag(int tag) {
    return tag == counter || tag == guage || tag == uinteger;
}

// The text of a value in its own wire type's form.
QString ownText(const OvWireValue& v) {
    switch (v.Tag) {
    case integer:
        return QString::number(static_cast<qint32>(v.Number));
    case objectid:
        return OvDottedIds(v.Ids);
    case ipaddress:
        return v.Octets.size() == 4 ? OvDottedOctets(v.Octets) : OvHexText(v.Octets);
    case counter:
    case guage:
    case uinteger:
        return QString::number(static_cast<quint32>(v.Number & 0xFFFFFFFFll));
    case timeticks:
        return OvTicksText(static_cast<quint32>(v.Number & 0xFFFFFFFFll));
    case OvSyntax::counter64:
        return QString::number(v.Counter64);
    default: // octet strings, opaque, bit strings and anything else the agent invents
        return OvHexText(v.Octets);
    }
}

} // namespace

int OvWireTagOf(int syntax) {
    using namespace OvSyntax;
    switch (syntax) {
    case boolean:
        return integer;
    case bitstr:
    case opaque:
    case displaystr:
    case macaddress:
    case double_:
    case datetime:
    case bcdatetime:
        return octetstr;
    case nsapaddr:
        return ipaddress;
    default:
        return syntax;
    }
}

bool OvIsWireSyntax(int syntax) {
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

OvWireValue OvWireValueOf(int syntax, const QString& text) {
    if (!OvIsWireSyntax(syntax))
        throw OvException(OvCode::BadSyntax);
    OvWireValue v;
    if (text == QLatin1String("(NULL)") || syntax == null)
        return v;
    // The byte form reads the text; a binding asks a little more of some syntaxes.
    const QByteArray bytes = OvByteForm::FromText(syntax, text);
    if ((syntax == macaddress && bytes.size() != 6) || (syntax == objectid && bytes.isEmpty()))
        badValue();
    v.Tag = OvWireTagOf(syntax);
    switch (v.Tag) {
    case integer:
        v.Number = static_cast<qint32>(OvReadLe32(bytes, 0));
        break;
    case counter:
    case guage:
    case uinteger:
    case timeticks:
        v.Number = OvReadLe32(bytes, 0);
        break;
    case OvSyntax::counter64:
        v.Counter64 = (static_cast<quint64>(OvReadLe32(bytes, 4)) << 32) | OvReadLe32(bytes, 0);
        break;
    case objectid:
        for (int at = 0; at + 4 <= bytes.size(); at += 4)
            v.Ids.push_back(OvReadLe32(bytes, at));
        break;
    default: // octet strings and addresses
        v.Octets = bytes;
        break;
    }
    return v;
}

bool OvTagCarries(int syntax, int tag, int octetCount) {
    switch (syntax) {
    case boolean:
    case integer:
        return tag == integer;
    case bitstr:
    case octetstr:
    case opaque:
    case macaddress:
    case displaystr:
        return isOctetTag(tag);
    case objectid:
        return tag == objectid;
    case ipaddress:
    case nsapaddr:
        return tag == ipaddress;
    case counter:
    case guage:
    case uinteger:
        return isUnsignedTag(tag);
    case timeticks:
        return tag == timeticks;
    case OvSyntax::counter64:
        return tag == OvSyntax::counter64;
    case double_:
    case datetime:
    case bcdatetime:
        // Carried in an OCTET STRING of at least eight octets (none: no value).
        return isOctetTag(tag) && (octetCount == 0 || octetCount >= 8);
    default:
        return true; // partial syntaxes never travel on their own
    }
}

QString OvReceivedValueText(int syntax, const OvWireValue& v) {
    if (!OvTagCarries(syntax, v.Tag, static_cast<int>(v.Octets.size())))
        return ownText(v);
    // A string of no octets prints empty: empty text where a string is meant.
    if (isOctetTag(v.Tag) && v.Octets.isEmpty())
        return OvByteForm::IsString(syntax) ? QString() : QStringLiteral("(NULL)");
    switch (syntax) {
    case boolean:
        return v.Number != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case bitstr:
    case octetstr:
    case opaque:
    case macaddress:
        return OvHexText(v.Octets);
    case double_:
        return OvFloatToStr(OvDoubleOfOctets(v.Octets));
    case datetime:
        return OvDateTime::fromOctets(v.Octets.left(11)).toText();
    case bcdatetime:
        return OvDaysText(OvDoubleOfOctets(v.Octets));
    case displaystr:
        return OvDisplayText(v.Octets);
    default:
        return ownText(v);
    }
}
