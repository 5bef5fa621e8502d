#pragma once

#include "snmp/OvSNMPTarget.h"
#include "snmp/OvSNMPVar.h"
#include "snmp/OvSNMPEngine.h"

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class QObject;
struct variable_list;

// Most rows one table walk reads (-529 past it): an agent whose table never ends would
// be walked until memory runs out. Tests lower it.
inline int OvMaxTableRows = 1000000;

// What an asynchronous completion receives.
struct OvSNMPError {
    int Code = 0; // framework code, 0 = success
    // The response's error index; for an SNMPv2c/v3 exception binding, that binding's
    // position (1-based), so that every version names the object the agent lacks.
    int ErrorIndex = 0;
    QString Message;
    OvSNMPDevice Agent;
    bool Done = true; // nothing more will come for this request or walk
};

// One request: its own copy of the default target, a variable list, and synchronous and
// asynchronous get, get-next table walk and set. Every received value becomes the
// item's text; every failure a framework code with its message.
class OvSNMPRequest {
public:
    using Handler = std::function<void(const OvSNMPError& result, OvSNMPVarList& list)>;

    OvSNMPRequest();
    virtual ~OvSNMPRequest();
    OvSNMPRequest(const OvSNMPRequest&) = delete;
    OvSNMPRequest& operator=(const OvSNMPRequest&) = delete;

    // Replaces "$n" references by item n's value; raises -512 for an absent value and
    // -513 for a syntax that cannot stand in an expression unquoted.
    virtual QString Substitute(const QString& expression, bool quote, const QString& marker);
    // Reads key item index from the front of a row index, returns the rest.
    virtual QString DecodeIndex(int index, const QString& suffix);
    // Key item index as row-index sub-identifiers.
    virtual QString EncodeIndex(int index);
    // A received binding into item index's value text.
    virtual void StoreValue(int index, const variable_list* vb);
    // Item index's value text into a binding of the write PDU.
    virtual void LoadValue(int index, snmp_pdu* pdu, const QString& instanceOid);
    virtual void ApplyFormula(int index, bool afterGet);
    virtual bool Evaluate(const QString& condition);
    virtual bool IsColumnDone(const QString& columnOid, const QString& lastInstance,
                              const QString& returnedOid);

    // Synchronous read; true when a table row was delivered.
    bool Get(bool first);
    // Asynchronous read; handler runs later, once, while context lives.
    void GetAsync(QObject* context, Handler handler, bool first);
    // Synchronous write of the writable, valid items; with mapResponse the answer is
    // stored like a read's.
    bool Set(bool mapResponse);
    void SetAsync(QObject* context, Handler handler, bool mapResponse);

    // Destruction then does not wait for answers still on their way; they find nobody.
    // For a caller that gives the device up (a command-line run stopped twice).
    void LeaveOutstanding() { WaitForOutstanding = false; }

    // Whether a write carries item i: a writable item not left out, and no key of a row
    // being created.
    bool Writes(int i) const;
    // Cells of the table walk under way whose answer was of another type than the
    // column's: stored as absent ("(NULL)") rather than shown as another value.
    int WrongTypeCells() const { return WrongTypeCount; }

    bool IsValid() { return Evaluate(ValidCondition); }
    bool Accepts(const QString& filter) { return Evaluate(filter); }

    // A copy of the default target when the request was made; the request's own after.
    OvSNMPTarget Target;
    OvSNMPVarList VarList;
    QString ValidCondition;
    bool Alive = true;
    int Outstanding = 0;

    // Longest time destruction waits for outstanding answers.
    static constexpr int DestroyWaitMs = 6000;

private:
    enum class PduKind { ReadFirst, ReadNext, Write };
    bool WaitForOutstanding = true;
    struct MappingOutcome {
        int Code = 0;
        bool Row = false;
        int ErrorIndex = 0; // the binding an exception came in, 1-based
    };

    OvPduPtr BuildPdu(PduKind kind);
    OvPduPtr BuildWritePdu();
    OvSNMPEngine& Engine() const;
    bool IsTableKind() const { return VarList.IsTable(); }
    QString RowIndex();
    MappingOutcome MapResponse(int code, snmp_pdu* response);
    // Whether a binding (named returned) answers a read of item in column: its name and its
    // wire type.
    bool IsAnswerFor(const OvSNMPVarItem& item, const QString& column, const QString& returned,
                     const variable_list* vb) const;
    bool NamesItem(const QString& column, const QString& returned) const;
    // The answer of a synchronous request stored in the list; raises its code.
    bool MappedRow(const OvSNMPResult& result);
    void Send(OvPduPtr pdu, QObject* context, Handler handler, bool mapResponse);
    void Complete(const QPointer<QObject>& context, bool hasContext, const Handler& handler, bool mapResponse,
                  OvSNMPResult& result);

    int RowsWalked = 0; // rows of the walk under way
    int WrongTypeCount = 0;
    // Cleared on destruction, so late answers find no request to touch.
    std::shared_ptr<bool> AliveToken;
    // Set when the request goes: its completions then only count down Outstanding, so the
    // wait for them may run them without running anything else of the program.
    std::shared_ptr<bool> Dying = std::make_shared<bool>(false);
};
