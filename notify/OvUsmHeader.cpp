#include "notify/OvUsmHeader.h"

namespace {

// A cursor over BER data that refuses to move past its end.
class BerReader {
public:
    BerReader(const unsigned char* data, size_t length) : At(data), End(data + length) {}

    // Reads a tag and its length; the cursor then stands at the contents.
    bool Header(unsigned char tag, size_t& length) {
        if (End - At < 2 || *At != tag)
            return false;
        ++At;
        const unsigned char first = *At++;
        if (first < 0x80) {
            length = first;
        } else {
            const int octets = first & 0x7F;
            if (octets == 0 || octets > 4 || End - At < octets)
                return false;
            length = 0;
            for (int i = 0; i < octets; ++i)
                length = (length << 8) | *At++;
        }
        return static_cast<size_t>(End - At) >= length;
    }
    bool Unsigned(quint32& value) {
        size_t length = 0;
        if (!Header(0x02, length) || length == 0 || length > 5)
            return false;
        quint64 v = 0;
        for (size_t i = 0; i < length; ++i)
            v = (v << 8) | *At++;
        if (v > 0xFFFFFFFFull)
            return false;
        value = static_cast<quint32>(v);
        return true;
    }
    bool Octets(QByteArray& value) {
        size_t length = 0;
        if (!Header(0x04, length))
            return false;
        value = QByteArray(reinterpret_cast<const char*>(At), static_cast<int>(length));
        At += length;
        return true;
    }
    // A reader over the contents of an OCTET STRING; the cursor moves past it.
    bool Inner(BerReader& inner) {
        size_t length = 0;
        if (!Header(0x04, length))
            return false;
        inner = BerReader(At, length);
        At += length;
        return true;
    }

private:
    const unsigned char* At;
    const unsigned char* End;
};

} // namespace

bool OvReadUsmHeader(const unsigned char* data, size_t length, OvUsmHeader& header) {
    BerReader message(data, length);
    size_t ignored = 0;
    quint32 version = 0;
    if (!message.Header(0x30, ignored) || !message.Unsigned(version) || version != 3)
        return false;
    quint32 id = 0, maxSize = 0, model = 0;
    QByteArray flags;
    if (!message.Header(0x30, ignored) || !message.Unsigned(id) || !message.Unsigned(maxSize) ||
        !message.Octets(flags) || flags.size() != 1 || !message.Unsigned(model))
        return false;
    header.Flags = static_cast<quint8>(flags[0]);
    BerReader parameters(nullptr, 0);
    if (!message.Inner(parameters))
        return false;
    return parameters.Header(0x30, ignored) && parameters.Octets(header.EngineId) &&
           parameters.Unsigned(header.Boots) && parameters.Unsigned(header.Time) &&
           parameters.Octets(header.User);
}
