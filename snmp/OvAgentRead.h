#pragma once

#include "snmp/OvSNMPTarget.h"
#include "snmp/OvSNMPEngine.h"

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

struct variable_list;

// An object to read and the syntax its value text is made in.
struct OvReadObject {
    QString Oid;
    int Syntax = 0;
};

using OvOidPath = std::vector<quint32>;

// "12 cells of the wrong type left empty": what a read left out of what it shows.
QString OvWrongTypeCellsText(int cells);
// The value texts of one read, in the order asked; absent where the agent has no value.
using OvReadCells = std::vector<std::optional<QString>>;

// What the table walk and the scalar read share: their own copy of a target, sending
// without waiting, and one Finished signal whatever ends the read. Answers that arrive
// after the object is gone are dropped.
class OvAgentRead : public QObject {
    Q_OBJECT
public:
    OvAgentRead(const OvSNMPTarget& target, QObject* parent);

    bool IsRunning() const { return Running; }
    // Answers of another type than their object's, left absent rather than shown as a
    // value of it.
    int WrongTypeCells() const { return WrongType; }

Q_SIGNALS:
    // The read has ended: code 0, or the framework code and its message.
    void Finished(int code, const QString& message);

protected:
    void Begin();
    // Sends pdu; answer runs later, once. An error found before sending ends the read.
    void Send(OvPduPtr pdu, std::function<void(OvSNMPResult&)> answer);
    void Finish(int code);
    void Finish(int code, const QString& message);

    static bool ParseOid(const QString& text, OvOidPath& path);
    static void AddNull(snmp_pdu* pdu, const OvOidPath& path);
    static OvOidPath NameOf(const variable_list* vb);
    // The value text of a binding in syntax; empty for a syntax that has no text form.
    static QString TextOf(int syntax, const variable_list* vb);
    // Which of the asked items an SNMPv1 noSuchName refusal names, or -1 for another result.
    static int RefusedItem(const OvSNMPResult& result, const std::vector<size_t>& asked);

    const OvSNMPTarget Target;
    int WrongType = 0;

private:
    bool Running = false;
};
