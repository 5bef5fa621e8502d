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
    for (const OvNotifiedBinding& b : Bindings)
        bindings.append(QJsonObject{{QStringLiteral("oid"), b.Oid},
                                    {QStringLiteral("name"), b.Name},
                                    {QStringLiteral("type"), b.Type},
                                    {QStringLiteral("value"), b.Value}});
    o.insert(QStringLiteral("bindings"), bindings);
    return o;
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
             b.value(QStringLiteral("type")).toString(), b.value(QStringLiteral("value")).toString()});
    }
    return n;
}

bool OvNotification::operator==(const OvNotification& o) const {
    return Time == o.Time && Source == o.Source && SourcePort == o.SourcePort && Version == o.Version &&
           Type == o.Type && Oid == o.Oid && Name == o.Name && Uptime == o.Uptime && User == o.User &&
           Bindings == o.Bindings && Refusal == o.Refusal && Acknowledged == o.Acknowledged;
}
