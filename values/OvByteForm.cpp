#include "values/OvByteForm.h"

#include "errors/OvErrors.h"
#include "values/OvDateTime.h"
#include "values/OvNumbers.h"
#include "values/OvSyntax.h"
#include "values/OvSyntaxText.h"

#include <QStringList>
#include <cstring>

namespace OvByteForm {

namespace {

using namespace OvSyntax;

[[noreturn]] void badValue() {
    throw OvException(OvCode::BadPartialValue);
}

// What parse reads from text; -517 when it cannot.
template <class Value> Value parsed(const QString& text, bool (*parse)(const QString&, Value&)) {
    Value value{};
    if (!parse(text, value))
        badValue();
    return value;
}

QByteArray le32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return b;
}

QByteArray be16(quint16 v) {
    QByteArray b(2, '\0');
    b[0] = static_cast<char>(v >> 8);
    b[1] = static_cast<char>(v & 0xFF);
    return b;
}

quint16 readBe16(const QByteArray& b) {
    return static_cast<quint16>((static_cast<unsigned char>(b[0]) << 8) | static_cast<unsigned char>(b[1]));
}

// An integer of the syntax's range; a number that does not fit is refused, never wrapped.
qint64 inRange(const QString& text, qint64 min, qint64 max) {
    qint64 v = 0;
    if (!OvAtolInRange(text, min, max, v))
        badValue();
    return v;
}

bool isTrue(const QString& text) {
    return text == QLatin1String("true");
}

} // namespace

int Width(int syntax) {
    switch (syntax) {
    case boolean:
    case integer:
    case counter:
    case guage:
    case uinteger:
    case timeticks:
    case ipaddress:
    case nsapaddr:
        return 4;
    case OvSyntax::counter64:
    case double_:
    case bcdatetime:
        return 8;
    case macaddress:
        return 6;
    case datetime:
        return 11;
    case bool8:
    case int8:
    case uint8:
        return 1;
    case bool16:
    case int16:
    case uint16:
        return 2;
    case null:
        return 0;
    case bitstr:
    case octetstr:
    case opaque:
    case objectid:
    case displaystr:
        return -1;
    default:
        throw OvException(OvCode::BadSyntax);
    }
}

bool IsString(int syntax) {
    return syntax == displaystr || syntax == octetstr || syntax == bitstr || syntax == opaque;
}

QByteArray FromText(int syntax, const QString& text) {
    Width(syntax); // unknown syntaxes raise here
    if (text == QLatin1String("(NULL)") || syntax == null)
        return QByteArray();
    switch (syntax) {
    case boolean:
        return le32(isTrue(text) ? 1 : 0);
    case integer:
        return le32(static_cast<quint32>(inRange(text, -2147483648ll, 2147483647ll)));
    case counter:
    case guage:
    case uinteger:
        return le32(static_cast<quint32>(inRange(text, 0, 0xFFFFFFFFll)));
    case bitstr:
    case octetstr:
    case opaque:
    case macaddress:
        return parsed(text, OvParseHex);
    case objectid: {
        if (text.trimmed().isEmpty())
            return QByteArray();
        std::vector<quint32> ids;
        if (!OvParseOid(text, ids))
            badValue();
        QByteArray b;
        for (quint32 id : ids)
            b += le32(id);
        return b;
    }
    case ipaddress:
    case nsapaddr:
        return parsed(text, OvParseIPv4);
    case timeticks:
        return le32(parsed(text, OvParseTicks));
    case OvSyntax::counter64: {
        const quint64 v = parsed(text, OvParseCounter64);
        return le32(static_cast<quint32>(v & 0xFFFFFFFFu)) + le32(static_cast<quint32>(v >> 32));
    }
    case double_:
        return OvOctetsOfDouble(OvAtof(text));
    case datetime:
        if (!OvIsDateAndTimeText(text))
            badValue();
        return OvDateTime(text).toOctets();
    case bcdatetime:
        return OvOctetsOfDouble(parsed(text, OvParseDaysText));
    case displaystr:
        return text.toUtf8();
    case bool8:
        return QByteArray(1, isTrue(text) ? '\1' : '\0');
    case int8:
        return QByteArray(1, static_cast<char>(inRange(text, -128, 127)));
    case uint8:
        return QByteArray(1, static_cast<char>(inRange(text, 0, 255)));
    case bool16:
        return be16(isTrue(text) ? 1 : 0);
    case int16:
        return be16(static_cast<quint16>(inRange(text, -32768, 32767)));
    case uint16:
        return be16(static_cast<quint16>(inRange(text, 0, 65535)));
    default:
        throw OvException(OvCode::BadSyntax);
    }
}

QString ToText(int syntax, const QByteArray& bytes) {
    const int width = Width(syntax);
    // No octets of a string syntax are an empty string, not an absent value.
    if (bytes.isEmpty())
        return IsString(syntax) ? QString() : QStringLiteral("(NULL)");
    if (syntax == null)
        return QStringLiteral("(NULL)");
    if (width > 0 && bytes.size() < width)
        badValue();
    switch (syntax) {
    case boolean:
        return OvReadLe32(bytes, 0) != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case integer:
        return QString::number(static_cast<qint32>(OvReadLe32(bytes, 0)));
    case counter:
    case guage:
    case uinteger:
        return QString::number(OvReadLe32(bytes, 0));
    case bitstr:
    case octetstr:
    case opaque:
    case macaddress:
        return OvHexText(bytes);
    case objectid: {
        QStringList parts;
        for (int at = 0; at + 4 <= bytes.size(); at += 4) // a trailing partial group is left out
            parts << QString::number(OvReadLe32(bytes, at));
        return parts.join(QLatin1Char('.'));
    }
    case ipaddress:
    case nsapaddr:
        return QStringLiteral("%1.%2.%3.%4")
            .arg(static_cast<unsigned char>(bytes[0]))
            .arg(static_cast<unsigned char>(bytes[1]))
            .arg(static_cast<unsigned char>(bytes[2]))
            .arg(static_cast<unsigned char>(bytes[3]));
    case timeticks:
        return OvTicksText(OvReadLe32(bytes, 0));
    case OvSyntax::counter64:
        return QString::number((static_cast<quint64>(OvReadLe32(bytes, 4)) << 32) | OvReadLe32(bytes, 0));
    case double_:
        return OvFloatToStr(OvDoubleOfOctets(bytes));
    case datetime:
        return OvDateTime::fromOctets(bytes.left(11)).toText();
    case bcdatetime:
        return OvDaysText(OvDoubleOfOctets(bytes));
    case displaystr:
        return OvDisplayText(bytes);
    case bool8:
        return bytes[0] != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case int8:
        return QString::number(static_cast<qint8>(bytes[0]));
    case uint8:
        return QString::number(static_cast<unsigned char>(bytes[0]));
    case bool16:
        return readBe16(bytes) != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case int16:
    case uint16:
        return QString::number(readBe16(bytes));
    default:
        throw OvException(OvCode::BadSyntax);
    }
}

QByteArray Cut(const QByteArray& value, int offset, int syntax) {
    const int width = Width(syntax);
    if (value.isEmpty() || syntax == null)
        return QByteArray();
    if (offset < 0)
        throw OvException(OvCode::BitIndexOutOfRange);
    if (width < 0)
        return offset >= value.size() ? QByteArray() : value.mid(offset);
    if (value.size() < offset + width)
        throw OvException(OvCode::BitIndexOutOfRange);
    return value.mid(offset, width);
}

void Splice(QByteArray& value, int offset, const QByteArray& part) {
    if (value.size() < offset + part.size())
        value.append(QByteArray(offset + part.size() - value.size(), '\0'));
    std::memcpy(value.data() + offset, part.constData(), static_cast<size_t>(part.size()));
}

bool BitSet(const QByteArray& bytes, int bit) {
    if (bit < 0 || bit / 8 >= bytes.size())
        throw OvException(OvCode::BitIndexOutOfRange);
    return (static_cast<unsigned char>(bytes[bit / 8]) & (0x80 >> (bit % 8))) != 0;
}

void SetBit(QByteArray& bytes, int bit, bool on) {
    if (bit < 0)
        throw OvException(OvCode::BitIndexOutOfRange);
    if (bytes.size() <= bit / 8)
        bytes.append(QByteArray(bit / 8 + 1 - bytes.size(), '\0'));
    const auto mask = static_cast<unsigned char>(0x80 >> (bit % 8));
    auto& b = reinterpret_cast<unsigned char&>(bytes[bit / 8]);
    b = on ? static_cast<unsigned char>(b | mask) : static_cast<unsigned char>(b & ~mask);
}

} // namespace OvByteForm

quint32 OvReadLe32(const QByteArray& octets, int at) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(octets[at + i]);
    return v;
}
