#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "values/OvSyntaxName.h"

struct TSNMPVarInfo;

// Where an object stands in the catalogue: its configuration group and row.
struct OvCatalogueEntry {
    int Group = -1;
    int Row = -1;
    const TSNMPVarInfo* Info = nullptr;
    const char* Format = nullptr; // the edit rule of its edit, when it has one

    bool Found() const { return Info != nullptr; }
    bool Writable() const;
    // What a backup holds: the objects a restore writes, and the device's identity.
    bool KeptInBackups() const;
    // The value's one spelling for its syntax (values/OvCanonical); false when text is not
    // a whole value of it.
    bool Canonical(const QString& text, QString& out) const;
    // The entry of a group's row; both must be in range.
    static OvCatalogueEntry At(int group, int row);
    static OvCatalogueEntry ByOid(const QString& oid);
    static OvCatalogueEntry ByName(const QString& name);
};

// One access point's settings as saved: its identity and per object its group, name,
// identifier, syntax and value text (enumerations by their labels, as the windows show
// them; printable octet strings with their text beside the hex). The same settings give
// the same bytes: no time is stored (the journal has it).
struct OvConfigDocument {
    struct Object {
        QString Group;
        QString Name;
        QString Oid;
        QString Syntax;
        QString Value;
    };

    QString Address;
    QString Name; // the addresses file's, when it gives one
    QString Product;
    QString Version;
    QString Mac;
    std::vector<Object> Objects; // each value in its canonical spelling once read

    const Object* Find(const QString& oid) const;
    // The names of the objects whose value is not the one before holds, or that only one of
    // the two holds, in this document's order and then before's.
    QStringList ChangedObjects(const OvConfigDocument& before) const;
    // Fills the device section from one of the identity objects; others are ignored.
    void Identify(const QString& name, const QString& value);
    QByteArray ToJson() const;
    // Reads a document; false with the reason in error when it cannot be used: not one, no
    // device section, no objects, an object twice, an object this access point lacks or in
    // another group than its own, a value that is not a whole value of its syntax.
    static bool FromJson(const QByteArray& json, OvConfigDocument& out, QString& error);

    // Identity objects: never written, compared to refuse a restore onto another device.
    static const QStringList& IdentityNames();
};
