#include "notify/OvNotification.h"

#include <QJsonArray>

QString OvNotification::BindingsText() const {
    QStringList parts;
    for (const OvNotifiedBinding& b : Bindings)
        parts << b.Name + QStringLiteral(" = ") + b.Value;
    return parts.join(QStringLiteral("; "));
}

QString OvNotification::SearchText() const {
    return QStringList{Source, Version, Type, Name, Oid, User, Refusal, BindingsText()}.join(
        QLatin1Char(' '));
}

QJsonObject OvNotification::ToJson() const {
    QJsonObject o;
    o.insert(QStringLiteral("time"), Time.toString(Qt::ISODateWithMs));
    o.insert(QStringLiteral("source"), Source);
    o.insert(QStringLiteral("port"), SourcePort);
    o.insert(QStringLiteral("version"), Version);
    if (!Type.isEmpty())
        o.insert(QStringLiteral("type"), Type);
    if (!Oid.isEmpty()) {
        o.insert(QStringLiteral("oid"), Oid);
        o.insert(QStringLiteral("name"), Name);
    }
    if (!Uptime.isEmpty())
        o.insert(QStringLiteral("uptime"), Uptime);
    if (!User.isEmpty())
        o.insert(QStringLiteral("user"), User);
    if (Type == QLatin1String("inform"))
        o.insert(QStringLiteral("acknowledged"), Acknowledged);
    if (IsRefused())
        o.insert(QStringLiteral("refused"), Refusal);
    QJsonArray bindings;
    for (const OvNotifiedBinding& b : Bindings) {
        QJsonObject binding{{QStringLiteral("oid"), b.Oid},
                            {QStringLiteral("name"), b.Name},
                            {QStringLiteral("type"), b.Type},
                            {QStringLiteral("value"), b.Value}};
        if (b.Hex)
            binding.insert(QStringLiteral("encoding"), QStringLiteral("hex"));
        bindings.append(binding);
    }
    o.insert(QStringLiteral("bindings"), bindings);
    return o;
}

namespace {

// A JSON string: quotes, backslashes and control characters escaped, UTF-8 otherwise.
void appendJsonString(QByteArray& out, const QString& text) {
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            static const char hex[] = "0123456789abcdef";
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendMember(QByteArray& out, const char* name, const QString& value) {
    out += ",\"";
    out += name;
    out += "\":";
    appendJsonString(out, value);
}

} // namespace

QByteArray OvNotification::ToJsonLine() const {
    QByteArray out;
    out.reserve(256 + 96 * static_cast<qsizetype>(Bindings.size()));
    out += "{\"time\":";
    appendJsonString(out, Time.toString(Qt::ISODateWithMs));
    appendMember(out, "source", Source);
    out += ",\"port\":" + QByteArray::number(SourcePort);
    appendMember(out, "version", Version);
    if (!Type.isEmpty())
        appendMember(out, "type", Type);
    if (!Oid.isEmpty()) {
        appendMember(out, "oid", Oid);
        appendMember(out, "name", Name);
    }
    if (!Uptime.isEmpty())
        appendMember(out, "uptime", Uptime);
    if (!User.isEmpty())
        appendMember(out, "user", User);
    if (Type == QLatin1String("inform"))
        out += Acknowledged ? ",\"acknowledged\":true" : ",\"acknowledged\":false";
    if (IsRefused())
        appendMember(out, "refused", Refusal);
    out += ",\"bindings\":[";
    for (size_t i = 0; i < Bindings.size(); ++i) {
        const OvNotifiedBinding& b = Bindings[i];
        out += i ? ",{\"oid\":" : "{\"oid\":";
        appendJsonString(out, b.Oid);
        appendMember(out, "name", b.Name);
        appendMember(out, "type", b.Type);
        appendMember(out, "value", b.Value);
        if (b.Hex)
            out += ",\"encoding\":\"hex\"";
        out += '}';
    }
    out += "]}\n";
    return out;
}

OvNotification OvNotification::FromJson(const QJsonObject& o) {
    OvNotification n;
    n.Time = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    n.Source = o.value(QStringLiteral("source")).toString();
    n.SourcePort = static_cast<quint16>(o.value(QStringLiteral("port")).toInt());
    n.Version = o.value(QStringLiteral("version")).toString();
    n.Type = o.value(QStringLiteral("type")).toString();
    n.Oid = o.value(QStringLiteral("oid")).toString();
    n.Name = o.value(QStringLiteral("name")).toString();
    n.Uptime = o.value(QStringLiteral("uptime")).toString();
    n.User = o.value(QStringLiteral("user")).toString();
    n.Acknowledged = o.value(QStringLiteral("acknowledged")).toBool();
    n.Refusal = o.value(QStringLiteral("refused")).toString();
    const QJsonArray bindings = o.value(QStringLiteral("bindings")).toArray();
    for (const QJsonValue& v : bindings) {
        const QJsonObject b = v.toObject();
        n.Bindings.push_back(
            {b.value(QStringLiteral("oid")).toString(), b.value(QStringLiteral("name")).toString(),
             b.value(QStringLiteral("type")).toString(), b.value(QStringLiteral("value")).toString(),
             b.value(QStringLiteral("encoding")).toString() == QLatin1String("hex")});
    }
    return n;
}

bool OvNotification::operator==(const OvNotification& o) const {
    return Time == o.Time && Source == o.Source && SourcePort == o.SourcePort && Version == o.Version &&
           Type == o.Type && Oid == o.Oid && Name == o.Name && Uptime == o.Uptime && User == o.User &&
           Bindings == o.Bindings && Refusal == o.Refusal && Acknowledged == o.Acknowledged;
}
