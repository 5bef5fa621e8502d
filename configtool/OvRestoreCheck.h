#pragma once

#include <QStringList>
#include <vector>

struct OvConfigDocument;
struct OvConfigOptions;

// The values of a backup that a restore refuses to send: each object the options choose
// checked against the catalogue (its edit rule, its standard range, its enumeration, its
// syntax). Read-only objects are never written.
struct OvRestoreCheck {
    struct Refusal {
        QString Oid;
        QString Name;
        QString Problem; // "4 is outside 0..3 (IEEE 802.11 MIB)"
        QString Line() const { return Name + QStringLiteral(": ") + Problem; }
    };

    std::vector<Refusal> Refused;
    QStringList Skipped; // read-only objects of the document, identity aside

    const Refusal* Find(const QString& oid) const;
    static OvRestoreCheck Of(const OvConfigDocument& document, const OvConfigOptions& options);
};
