#include "snmp/OvParsedOid.h"

#include "values/OvSyntaxText.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <algorithm>
#include <type_traits>

static_assert(std::is_same_v<oid, unsigned long>, "the kept sub-identifiers go to net-snmp as they are");

const std::vector<unsigned long>* OvParsedOid::Of(const QString& base, const QString& suffix, bool scalar) {
    if (!Parsed || Scalar != scalar || Base != base || Suffix != suffix) {
        QString text = base;
        if (!suffix.isEmpty())
            text += QLatin1Char('.') + suffix;
        if (scalar)
            text += QStringLiteral(".0");
        std::vector<quint32> ids;
        Valid = OvParseOid(text, ids);
        Ids.assign(ids.begin(), ids.end());
        Base = base;
        Suffix = suffix;
        Scalar = scalar;
        Parsed = true;
    }
    return Valid ? &Ids : nullptr;
}

void OvParsedOid::Keep(const QString& text, const unsigned long* ids, size_t count) {
    // Only what the text would parse to: anything else is left to the parser's verdict.
    const bool parsable = count > 0 && count <= MAX_OID_LEN &&
                          std::all_of(ids, ids + count, [](unsigned long id) { return id <= 0xFFFFFFFFul; });
    Parsed = parsable;
    if (!parsable)
        return;
    Base = text;
    Suffix.clear();
    Scalar = false;
    Valid = true;
    Ids.assign(ids, ids + count);
}
