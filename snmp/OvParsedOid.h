#pragma once

#include <QString>
#include <vector>

// The sub-identifiers of an identifier text, kept beside the text: a request sent again
// parses nothing, and a text that changed is parsed anew before it is sent.
class OvParsedOid {
public:
    // The sub-identifiers of base, "." and suffix when suffix is set, and ".0" when scalar;
    // null when that text is no identifier.
    const std::vector<unsigned long>* Of(const QString& base, const QString& suffix = QString(),
                                         bool scalar = false);
    // Takes the sub-identifiers of a received name whose text is known already.
    void Keep(const QString& text, const unsigned long* ids, size_t count);

private:
    QString Base;
    QString Suffix;
    bool Scalar = false;
    bool Parsed = false; // Base, Suffix and Scalar describe Ids
    bool Valid = false;
    std::vector<unsigned long> Ids;
};
