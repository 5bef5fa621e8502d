#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <vector>

// One variable binding of a notification, as shown and logged.
struct OvNotifiedBinding {
    QString Oid;
    QString Name;  // catalogue or MIB-II name with its instance, else the OID
    QString Type;  // the wire type ("INTEGER", "OCTET STRING"...)
    QString Value; // the module's value text
    // Value is hex octets ("FF FE 61"): octets that are no plain text, a MAC address. The
    // log says so ("encoding": "hex"), so that they are never taken for the text "FF FE".
    bool Hex = false;

    bool operator==(const OvNotifiedBinding& o) const {
        return Oid == o.Oid && Name == o.Name && Type == o.Type && Value == o.Value && Hex == o.Hex;
    }
};

// One notification from the device: a valid one, or one refused with its reason.
struct OvNotification {
    QDateTime Time;
    QString Source;
    quint16 SourcePort = 0;
    QString Version;                         // "v1", "v2c", "v3"; empty when not even that could be read
    QString Type;                            // "trap" or "inform"
    QString Oid;                             // the notification's OID
    QString Name;                            // its name where known, else the OID
    QString Uptime;                          // the sender's sysUpTime as a value text
    QString User;                            // the SNMPv3 user
    std::vector<OvNotifiedBinding> Bindings; // without sysUpTime.0 and snmpTrapOID.0
    QString Refusal;                         // empty: valid
    bool Acknowledged = false;               // an inform's acknowledgement was sent

    bool IsRefused() const { return !Refusal.isEmpty(); }
    // "name = value; name = value" for a list row.
    QString BindingsText() const;
    // One line of text holding everything, for filtering.
    QString SearchText() const;

    QJsonObject ToJson() const;
    // ToJson as one compact line ending in a line break, written directly: the log's
    // form, several times faster than going through a QJsonDocument.
    QByteArray ToJsonLine() const;
    static OvNotification FromJson(const QJsonObject& json);

    bool operator==(const OvNotification& o) const;
};
