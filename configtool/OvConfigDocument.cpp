#include "configtool/OvConfigDocument.h"

#include "catalogue/OvCatalogue.h"
#include "configtool/OvOptionText.h"
#include "values/OvCanonical.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <set>
#include <vector>

namespace {

using namespace OvSyntax;

constexpr const char* kFormat = "velmarn-config 1";

const TUIItemInfo* layoutRowFor(const OvConfigGroup& group, const TSNMPVarInfo* info) {
    for (const TUIItemInfo* row = group.Layout; row && row->VarInfo; ++row)
        if (row->VarInfo == info)
            return row;
    return nullptr;
}

// The text of octets that are printable UTF-8, shown beside their hex so that a reader
// sees the SSID; null for other octets.
QString printableText(const QString& hexPairs) {
    const QByteArray octets = QByteArray::fromHex(hexPairs.toLatin1());
    if (octets.isEmpty())
        return QString();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(octets);
    if (utf8.hasError())
        return QString();
    for (const QChar c : text)
        if (!c.isPrint())
            return QString();
    return text;
}

// The first key given twice in one object of a well-formed JSON text, or an empty text.
// QJsonDocument keeps the last silently: a reader of the file would see one value and the
// restore write another.
QString duplicateKey(const QByteArray& json) {
    struct Level {
        bool Object = false;
        bool ExpectKey = false;
        std::set<QByteArray> Keys;
    };
    std::vector<Level> levels;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            const qsizetype start = i + 1;
            for (++i; i < json.size() && json[i] != '"'; ++i)
                if (json[i] == '\\')
                    ++i;
            if (levels.empty() || !levels.back().Object || !levels.back().ExpectKey)
                continue; // a value
            QByteArray key = json.mid(start, i - start);
            if (key.contains('\\')) // the key as the parser reads it
                key = QJsonDocument::fromJson("[\"" + key + "\"]").array().at(0).toString().toUtf8();
            if (!levels.back().Keys.insert(key).second)
                return QString::fromUtf8(key);
            levels.back().ExpectKey = false;
        } else if (c == '{' || c == '[') {
            levels.push_back({c == '{', c == '{', {}});
        } else if ((c == '}' || c == ']') && !levels.empty()) {
            levels.pop_back();
        } else if (c == ',' && !levels.empty() && levels.back().Object) {
            levels.back().ExpectKey = true;
        }
    }
    return QString();
}

} // namespace

bool OvCatalogueEntry::Writable() const {
    return Info && (Info->Access & OvAccess::writeonly) && !ConfigGroups[Group].ReadOnly;
}

bool OvCatalogueEntry::KeptInBackups() const {
    return Writable() || (Info && OvConfigDocument::IdentityNames().contains(QLatin1String(Info->Name)));
}

bool OvCatalogueEntry::Canonical(const QString& text, QString& out) const {
    return OvCanonical::OfSyntax(Info->Syntax, Info->Options, text, out);
}

OvCatalogueEntry OvCatalogueEntry::At(int group, int row) {
    OvCatalogueEntry e;
    e.Group = group;
    e.Row = row;
    e.Info = &ConfigGroups[group].Table[row];
    const TUIItemInfo* layout = layoutRowFor(ConfigGroups[group], e.Info);
    if (layout && layout->Kind == ukEdit && layout->Format && *layout->Format)
        e.Format = layout->Format;
    return e;
}

OvCatalogueEntry OvCatalogueEntry::ByOid(const QString& identifier) {
    for (int g = 0; g < ConfigGroupCount; ++g) {
        int r = 0;
        for (const TSNMPVarInfo* info = ConfigGroups[g].Table; info->Oid; ++info, ++r)
            if (QLatin1String(info->Oid) == identifier)
                return At(g, r);
    }
    return OvCatalogueEntry();
}

OvCatalogueEntry OvCatalogueEntry::ByName(const QString& name) {
    for (int g = 0; g < ConfigGroupCount; ++g)
        for (const TSNMPVarInfo* info = ConfigGroups[g].Table; info->Oid; ++info)
            if (QLatin1String(info->Name) == name)
                return At(g, static_cast<int>(info - ConfigGroups[g].Table));
    return OvCatalogueEntry();
}

const QStringList& OvConfigDocument::IdentityNames() {
    static const QStringList names{QStringLiteral("dot11manufacturerProductName"),
                                   QStringLiteral("dot11manufacturerProductVersion"),
                                   QStringLiteral("dot11StationID")};
    return names;
}

void OvConfigDocument::Identify(const QString& name, const QString& value) {
    if (name == QLatin1String("dot11manufacturerProductName"))
        Product = value;
    else if (name == QLatin1String("dot11manufacturerProductVersion"))
        Version = value;
    else if (name == QLatin1String("dot11StationID"))
        Mac = value;
}

const OvConfigDocument::Object* OvConfigDocument::Find(const QString& identifier) const {
    for (const Object& o : Objects)
        if (o.Oid == identifier)
            return &o;
    return nullptr;
}

QStringList OvConfigDocument::ChangedObjects(const OvConfigDocument& before) const {
    QStringList changed;
    for (const Object& o : Objects)
        if (const Object* old = before.Find(o.Oid); !old || old->Value != o.Value)
            changed << o.Name;
    for (const Object& o : before.Objects)
        if (!Find(o.Oid))
            changed << o.Name;
    return changed;
}

QByteArray OvConfigDocument::ToJson() const {
    QJsonArray objects;
    for (const Object& o : Objects) {
        QJsonObject object{{QStringLiteral("group"), o.Group},
                           {QStringLiteral("name"), o.Name},
                           {QStringLiteral("oid"), o.Oid},
                           {QStringLiteral("syntax"), o.Syntax},
                           {QStringLiteral("value"), o.Value}};
        const QString text = o.Syntax == OvSyntaxName(octetstr) ? printableText(o.Value) : QString();
        if (!text.isNull())
            object.insert(QStringLiteral("text"), text); // for the reader: the hex is the value
        objects.append(object);
    }
    QJsonObject device{{QStringLiteral("address"), Address},
                       {QStringLiteral("product"), Product},
                       {QStringLiteral("version"), Version},
                       {QStringLiteral("mac"), Mac}};
    if (!Name.isEmpty()) // a backup without a name keeps the bytes it always had
        device.insert(QStringLiteral("name"), Name);
    const QJsonObject root{{QStringLiteral("format"), QLatin1String(kFormat)},
                           {QStringLiteral("device"), device},
                           {QStringLiteral("objects"), objects}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool OvConfigDocument::FromJson(const QByteArray& json, OvConfigDocument& out, QString& error) {
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("not JSON: %1 at offset %2").arg(parse.errorString()).arg(parse.offset);
        return false;
    }
    if (const QString key = duplicateKey(json); !key.isEmpty()) {
        error = QStringLiteral("\"%1\" given twice in one object").arg(OvExcerpt(key));
        return false;
    }
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFormat)) {
        error = QStringLiteral("not a velmarn-config backup (format \"%1\" expected)")
                    .arg(QLatin1String(kFormat));
        return false;
    }
    if (!root.value(QStringLiteral("device")).isObject()) {
        error = QStringLiteral("no device section");
        return false;
    }
    if (!root.value(QStringLiteral("objects")).isArray() ||
        root.value(QStringLiteral("objects")).toArray().isEmpty()) {
        error = QStringLiteral("no objects");
        return false;
    }
    OvConfigDocument d;
    const QJsonObject device = root.value(QStringLiteral("device")).toObject();
    d.Address = device.value(QStringLiteral("address")).toString();
    d.Name = device.value(QStringLiteral("name")).toString();
    d.Product = device.value(QStringLiteral("product")).toString();
    d.Version = device.value(QStringLiteral("version")).toString();
    if (!OvCanonical::Octets(device.value(QStringLiteral("mac")).toString(), 6, d.Mac))
        d.Mac.clear(); // missing or not a MAC: the restore's guard refuses it
    QStringList seen;
    for (const QJsonValue& v : root.value(QStringLiteral("objects")).toArray()) {
        const QJsonObject o = v.toObject();
        Object object{o.value(QStringLiteral("group")).toString(), o.value(QStringLiteral("name")).toString(),
                      o.value(QStringLiteral("oid")).toString(), o.value(QStringLiteral("syntax")).toString(),
                      o.value(QStringLiteral("value")).toString()};
        // Values are named in messages cut short: a file may hold a huge one.
        const QString which = object.Name.isEmpty() ? QStringLiteral("object %1").arg(d.Objects.size() + 1)
                                                    : OvExcerpt(object.Name);
        if (object.Oid.isEmpty() || object.Name.isEmpty() || !o.value(QStringLiteral("value")).isString()) {
            error = which + QStringLiteral(": an object needs its \"oid\", \"name\" and \"value\" as texts");
            return false;
        }
        const OvCatalogueEntry e = OvCatalogueEntry::ByOid(object.Oid);
        if (!e.Found() || QLatin1String(e.Info->Name) != object.Name) {
            error = QStringLiteral("%1: not an object of this access point (%2)")
                        .arg(which, OvExcerpt(object.Oid));
            return false;
        }
        if (object.Group != QLatin1String(ConfigGroups[e.Group].Title)) {
            error = QStringLiteral("%1: in group \"%2\", but it belongs to \"%3\"")
                        .arg(which, OvExcerpt(object.Group), QLatin1String(ConfigGroups[e.Group].Title));
            return false;
        }
        if (object.Syntax != OvSyntaxName(e.Info->Syntax)) {
            error = QStringLiteral("%1: of syntax \"%2\", but it is %3")
                        .arg(which, OvExcerpt(object.Syntax), OvSyntaxName(e.Info->Syntax));
            return false;
        }
        if (seen.contains(object.Oid)) {
            error = which + QStringLiteral(": given twice");
            return false;
        }
        seen << object.Oid;
        QString canonical;
        if (!e.Canonical(object.Value, canonical)) {
            error = QStringLiteral("%1: \"%2\" is not a whole %3 value")
                        .arg(which, OvExcerpt(object.Value), OvSyntaxName(e.Info->Syntax));
            return false;
        }
        object.Value = canonical;
        if (o.contains(QStringLiteral("text")) &&
            (e.Info->Syntax != octetstr ||
             o.value(QStringLiteral("text")).toString() != printableText(canonical))) {
            error =
                QStringLiteral("%1: its text \"%2\" is not what its hex value %3 says")
                    .arg(which, OvExcerpt(o.value(QStringLiteral("text")).toString()), OvExcerpt(canonical));
            return false;
        }
        d.Objects.push_back(std::move(object));
    }
    out = std::move(d);
    return true;
}
