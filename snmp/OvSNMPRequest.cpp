#include "snmp/OvSNMPRequest.h"

#include "errors/OvErrors.h"
#include "snmp/OvValueText.h"
#include "values/OvExpression.h"
#include "values/OvTableIndex.h"
#include "values/OvNumbers.h"
#include "values/OvSyntaxNumber.h"
#include "values/OvSyntaxText.h"
#include "snmp/TSNMPSession.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QElapsedTimer>
#include <QStringList>
#include <cmath>

namespace {

QString dottedName(const netsnmp_variable_list* vb) {
    return OvDottedIds(vb->name, std::min<size_t>(vb->name_length, MAX_OID_LEN));
}

// A binding without value for a read of ids (null: an identifier text that did not parse).
void addReadBinding(snmp_pdu* pdu, const std::vector<unsigned long>* ids) {
    if (!ids)
        throw OvException(OvCode::InvalidObjectIdentifier);
    snmp_pdu_add_variable(pdu, ids->data(), ids->size(), ASN_NULL, nullptr, 0);
}

// True when the binding's identifier comes after the dotted identifier "previous".
bool comesAfter(const netsnmp_variable_list* vb, const QString& previous) {
    const QStringList parts = previous.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    std::vector<oid> before;
    for (const QString& p : parts)
        before.push_back(static_cast<oid>(p.toULong()));
    return snmp_oid_compare(vb->name, vb->name_length, before.data(), before.size()) > 0;
}

} // namespace

OvSNMPRequest::OvSNMPRequest()
    : Target(TSNMPSession::DefaultTarget()), AliveToken(std::make_shared<bool>(true)) {}

OvSNMPRequest::~OvSNMPRequest() {
    Alive = false;
    *Dying = true;
    // Only the SNMP engine's events and this request's own completions are handled while
    // waiting: one of another request may spin the event loop, and the window that owns
    // this request may be half destroyed already.
    QElapsedTimer waited;
    waited.start();
    OvSNMPEngine* engine = TSNMPSession::Engine();
    while (engine && WaitForOutstanding && Outstanding > 0 && waited.elapsed() < DestroyWaitMs &&
           engine->WaitForEvents()) {
    }
    *AliveToken = false; // answers still on their way find nobody
}

OvSNMPEngine& OvSNMPRequest::Engine() const {
    OvSNMPEngine* engine = TSNMPSession::Engine();
    if (!engine)
        throw OvException(OvCode::CannotCreateSession);
    return *engine;
}

// ---- value conversions ------------------------------------------------------------

void OvSNMPRequest::StoreValue(int index, const variable_list* vb) {
    OvSNMPVarItem* item = VarList.Item(index);
    QString text = OvReceivedText(item->Syntax, vb);
    if (item->Options)
        text = item->Options->ValueToLabel(text);
    item->Value = text;
    // A display string that is not UTF-8 shows through Latin-1; its octets are kept so
    // that an unchanged text is written back as it was read.
    const auto* v = reinterpret_cast<const netsnmp_variable_list*>(vb);
    if (item->Syntax == OvSyntax::displaystr && v && v->type == ASN_OCTET_STR) {
        item->ReadOctets =
            QByteArray(reinterpret_cast<const char*>(v->val.string), static_cast<int>(v->val_len));
        item->ReadText = text;
    } else {
        item->ReadOctets.clear();
        item->ReadText.clear();
    }
}

void OvSNMPRequest::LoadValue(int index, snmp_pdu* pdu, const QString& instanceOid) {
    const OvSNMPVarItem* item = VarList.Item(index);
    if (item->Syntax == OvSyntax::displaystr && !item->ReadOctets.isEmpty() &&
        item->Value == item->ReadText) {
        OvAppendBinding(pdu, instanceOid, OvSyntax::octetstr, OvHexText(item->ReadOctets));
        return;
    }
    const QString text = item->Options ? item->Options->LabelToValue(item->Value) : item->Value;
    OvAppendBinding(pdu, instanceOid, item->Syntax, text);
}

QString OvSNMPRequest::EncodeIndex(int index) {
    const OvSNMPVarItem* item = VarList.Item(index);
    const QString value = item->Options ? item->Options->LabelToValue(item->Value) : item->Value;
    const bool impliedLast = index == VarList.KeyCount - 1 && VarList.IsImplied(index);
    return OvIndexOf(item->Syntax, value, impliedLast);
}

QString OvSNMPRequest::DecodeIndex(int index, const QString& suffix) {
    OvSNMPVarItem* item = VarList.Item(index);
    const bool impliedLast = index == VarList.KeyCount - 1 && VarList.IsImplied(index);
    QString value;
    const QString rest = OvValueFromIndex(item->Syntax, suffix, impliedLast, value);
    item->Value = item->Options ? item->Options->ValueToLabel(value) : value;
    return rest;
}

// ---- expressions ---------------------------------------------------------------------

QString OvSNMPRequest::Substitute(const QString& expression, bool quote, const QString& marker) {
    if (marker.isEmpty())
        return expression;
    // Each marker of the expression is replaced once, left to right: inserted values are
    // never read again as markers.
    QString text;
    int from = 0;
    for (int at = expression.indexOf(marker); at >= 0; at = expression.indexOf(marker, from)) {
        text += QStringView(expression).mid(from, at - from);
        int end = at + marker.size();
        while (end < expression.size() && expression[end].isDigit() && expression[end].unicode() < 128)
            ++end;
        from = end;
        bool fits = true;
        const qlonglong n =
            end > at + marker.size()
                ? expression.mid(at + marker.size(), end - at - marker.size()).toLongLong(&fits)
                : 0;
        if (!fits || n < 0 || n >= VarList.Count())
            throw OvException(OvCode::BadSyntaxInExpression);
        const OvSNMPVarItem* item = VarList.Item(static_cast<int>(n));
        const QString value = item->Options ? item->Options->LabelToValue(item->Value) : item->Value;
        if (value == QLatin1String("(NULL)"))
            throw OvException(OvCode::NullInExpression);
        QString replacement;
        if (!OvNumberTerm(item->Syntax, value, replacement)) {
            if (!quote)
                throw OvException(OvCode::BadSyntaxInExpression);
            replacement = QLatin1Char('"') + value + QLatin1Char('"');
        }
        text += replacement;
    }
    text += QStringView(expression).mid(from);
    return text;
}

bool OvSNMPRequest::Evaluate(const QString& condition) {
    if (condition.isEmpty())
        return true;
    return OvEvaluateLogic(Substitute(condition, true, QStringLiteral("$")));
}

void OvSNMPRequest::ApplyFormula(int index, bool afterGet) {
    OvSNMPVarItem* item = VarList.Item(index);
    const QString formula = afterGet ? item->GetFormula : item->SetFormula;
    if (formula.isEmpty())
        return;
    const double x = OvEvaluateArithmetic(Substitute(formula, false, QStringLiteral("$")));
    QString value;
    const OvNumberFit fit = OvTextOfNumber(item->Syntax, x, value);
    // A result outside the object's range is refused like a typed value, never wrapped.
    if (fit == OvNumberFit::OutOfRange)
        throw OvException(OvCode::BadPartialValue).ForItem(item->Name);
    if (fit == OvNumberFit::NoNumber)
        throw OvException(OvCode::BadSyntaxInExpression);
    item->Value = item->Options ? item->Options->ValueToLabel(value) : value;
}

bool OvSNMPRequest::IsColumnDone(const QString& columnOid, const QString& lastInstance,
                                 const QString& returnedOid) {
    if (!IsTableKind())
        return false;
    const bool inColumn = returnedOid.size() > columnOid.size() && returnedOid.startsWith(columnOid) &&
                          returnedOid[columnOid.size()] == QLatin1Char('.');
    return !(inColumn && returnedOid != lastInstance);
}

// ---- PDUs and responses ----------------------------------------------------------------

QString OvSNMPRequest::RowIndex() {
    QStringList parts;
    for (int k = 0; k < VarList.KeyCount && k < VarList.Count(); ++k)
        parts << EncodeIndex(k);
    return parts.join(QLatin1Char('.'));
}

OvPduPtr OvSNMPRequest::BuildPdu(PduKind kind) {
    if (VarList.ListKind > MVT_UMV)
        throw OvException(OvCode::BadListKind);
    const bool table = IsTableKind();
    if (kind == PduKind::ReadNext && !table)
        throw OvException(OvCode::GetNextOnSingleValue);
    const int command = kind == PduKind::Write ? SNMP_MSG_SET : (table ? SNMP_MSG_GETNEXT : SNMP_MSG_GET);
    OvPduPtr pdu = OvSNMPEngine::NewPdu(command);
    int written = 0;
    for (int i = 0; i < VarList.Count(); ++i) {
        OvSNMPVarItem* item = VarList.Item(i);
        if (kind == PduKind::ReadFirst) {
            RowsWalked = 0;
            WrongTypeCount = 0;
            if (!VarList.IsReadable(i))
                continue;
            item->InstanceOid.clear();
            addReadBinding(pdu.get(),
                           item->AskedColumn.Of(item->Oid, VarList.RowSuffix, VarList.ListKind == SVT_SV));
        } else if (kind == PduKind::ReadNext) {
            if (!VarList.IsReadable(i))
                continue;
            addReadBinding(pdu.get(), item->AskedInstance.Of(item->InstanceOid));
        } else {
            const QString column = VarList.Column(i);
            if (!Writes(i))
                continue;
            try {
                QString id = column;
                if (VarList.ListKind == SVT_SV)
                    id += QStringLiteral(".0");
                else if (table)
                    id += QLatin1Char('.') + RowIndex();
                LoadValue(i, pdu.get(), id);
                ++written;
            } catch (const OvException& e) {
                throw e.ForItem(item->Name); // the user sees which row holds the bad value
            }
        }
    }
    if (kind == PduKind::Write && written == 0)
        throw OvException(OvCode::NothingToWrite); // a write of nothing is not sent
    return pdu;
}

OvSNMPRequest::MappingOutcome OvSNMPRequest::MapResponse(int code, snmp_pdu* response) {
    MappingOutcome out;
    const netsnmp_variable_list* vb = response ? response->variables : nullptr;
    QString rowIndex;
    int readable = 0;
    int done = 0;
    for (int i = 0; i < VarList.Count(); ++i) {
        if (!VarList.IsReadable(i))
            continue;
        ++readable;
        OvSNMPVarItem* item = VarList.Item(i);
        if (!vb) {
            // Fewer bindings than were asked for: what came is kept, the answer is wrong.
            out.Code = OvCode::InvalidPdu;
            return out;
        }
        const QString column = VarList.Column(i);
        const QString returned = dottedName(vb);
        if (code == OvCode::NoSuchName) {
            out.Code = returned == item->InstanceOid ? 0 : OvCode::NoSuchName;
            return out;
        }
        if (!IsTableKind() && OvIsException(vb)) {
            // SNMPv2c/v3 say in the binding what SNMPv1 says with noSuchName and its index.
            out.Code = OvCode::NoSuchName;
            out.ErrorIndex = readable;
            return out;
        }
        if (!IsTableKind() && !IsAnswerFor(*item, column, returned, vb)) {
            // A value of another object, or of another type, is no value of this one.
            const bool named = !OvIsException(vb) && NamesItem(column, returned);
            throw OvException(OvCode::NoSuchName)
                .ForItem(named ? item->Name + QLatin1Char(' ') + OvWireTypeMismatch(item->Syntax, vb)
                               : item->Name);
        }
        const bool columnDone = IsColumnDone(column, item->InstanceOid, returned);
        if (IsTableKind() && !columnDone &&
            !comesAfter(vb, item->InstanceOid.isEmpty() ? column : item->InstanceOid)) {
            // An agent that answers with the same or an earlier object would be walked for ever.
            out.Code = OvCode::WalkNotAdvancing;
            return out;
        }
        if (columnDone) {
            ++done;
            item->Value = QStringLiteral("(NOTDONE)");
            item->InstanceOid = column + QLatin1Char('.') + RowIndex();
        } else {
            const auto* cell = reinterpret_cast<const variable_list*>(vb);
            if (OvIsException(cell) || item->Syntax == OvSyntax::null || OvWireTypeFits(item->Syntax, cell)) {
                StoreValue(i, cell);
            } else {
                // Another type's value shown in this column would read as a value of it.
                StoreValue(i, nullptr);
                ++WrongTypeCount;
            }
            item->InstanceOid = returned;
            item->AskedInstance.Keep(returned, vb->name, vb->name_length); // the next get-next's
        }
        if (rowIndex.isEmpty() && returned.size() > column.size())
            rowIndex = returned.mid(column.size() + 1);
        vb = vb->next_variable;
    }
    if (readable > 0 && done == readable)
        return out; // end of the walk
    if (IsTableKind()) {
        QString rest = rowIndex;
        for (int k = 0; k < VarList.KeyCount && k < VarList.Count(); ++k) {
            if (!VarList.IsReadable(k))
                VarList.Item(k)->InstanceOid = VarList.Column(k) + QLatin1Char('.') + rowIndex;
            rest = DecodeIndex(k, rest);
        }
    }
    for (int i = 0; i < VarList.Count(); ++i)
        ApplyFormula(i, true);
    out.Row = IsTableKind();
    if (out.Row && ++RowsWalked > OvMaxTableRows) {
        out.Code = OvCode::TooManyRows; // an agent whose table never ends
        out.Row = false;
    }
    return out;
}

bool OvSNMPRequest::Writes(int i) const {
    const int a = VarList.Item(i)->Access & 0xFF;
    return !(VarList.ListKind == MVT_UMV && i < VarList.KeyCount) && (a & OvAccess::writeonly) &&
           !(a & OvAccess::invalid);
}

bool OvSNMPRequest::IsAnswerFor(const OvSNMPVarItem& item, const QString& column, const QString& returned,
                                const variable_list* vb) const {
    return NamesItem(column, returned) && (item.Syntax == OvSyntax::null || OvWireTypeFits(item.Syntax, vb));
}

bool OvSNMPRequest::NamesItem(const QString& column, const QString& returned) const {
    // The name asked for: the column, with ".0" for a scalar.
    return VarList.ListKind == SVT_SV ? returned.size() == column.size() + 2 && returned.startsWith(column) &&
                                            returned.endsWith(QLatin1String(".0"))
                                      : returned == column;
}

// ---- reads and writes -------------------------------------------------------------------

bool OvSNMPRequest::Get(bool first) {
    if (!Alive)
        return false;
    OvPduPtr pdu = BuildPdu(first ? PduKind::ReadFirst : PduKind::ReadNext);
    OvSNMPResult r = Engine().SendSync(Target, std::move(pdu));
    if (r.Code != 0 && !(r.Code == OvCode::NoSuchName && IsTableKind()))
        throw OvException(r.Code, r.Message());
    return MappedRow(r);
}

bool OvSNMPRequest::MappedRow(const OvSNMPResult& result) {
    const MappingOutcome m = MapResponse(result.Code, result.Response.get());
    if (m.Code != 0)
        throw OvException(m.Code);
    return m.Row;
}

void OvSNMPRequest::GetAsync(QObject* context, Handler handler, bool first) {
    if (!Alive)
        return;
    Send(BuildPdu(first ? PduKind::ReadFirst : PduKind::ReadNext), context, std::move(handler), true);
}

OvPduPtr OvSNMPRequest::BuildWritePdu() {
    // Formula results are sent but never stay in the list.
    const OvSNMPVarList saved = VarList;
    try {
        for (int i = 0; i < VarList.Count(); ++i)
            ApplyFormula(i, false);
        OvPduPtr pdu = BuildPdu(PduKind::Write);
        VarList = saved;
        return pdu;
    } catch (...) {
        VarList = saved;
        throw;
    }
}

bool OvSNMPRequest::Set(bool mapResponse) {
    if (!Alive)
        return false;
    OvSNMPResult r = Engine().SendSync(Target, BuildWritePdu());
    if (r.Code != 0)
        throw OvException(r.Code, r.Message());
    return mapResponse && MappedRow(r);
}

void OvSNMPRequest::SetAsync(QObject* context, Handler handler, bool mapResponse) {
    if (!Alive)
        return;
    Send(BuildWritePdu(), context, std::move(handler), mapResponse);
}

void OvSNMPRequest::Send(OvPduPtr pdu, QObject* context, Handler handler, bool mapResponse) {
    std::weak_ptr<bool> token = AliveToken;
    QPointer<QObject> guard(context);
    const bool hasContext = context != nullptr;
    Engine().SendAsync(
        Target, std::move(pdu),
        [this, token, guard, hasContext, handler = std::move(handler), mapResponse](OvSNMPResult& r) {
            const auto alive = token.lock();
            if (!alive || !*alive)
                return; // the request is gone
            Complete(guard, hasContext, handler, mapResponse, r);
        },
        Dying);
    ++Outstanding;
}

void OvSNMPRequest::Complete(const QPointer<QObject>& context, bool hasContext, const Handler& handler,
                             bool mapResponse, OvSNMPResult& result) {
    --Outstanding;
    // A request being destroyed, or whose receiver has gone, delivers nothing more.
    if (!Alive || (hasContext && !context))
        return;
    OvSNMPError e;
    e.Code = result.Code;
    e.ErrorIndex = result.ErrorIndex;
    e.Agent = Target.Device;
    e.Done = true;
    const bool tableEnd = result.Code == OvCode::NoSuchName && IsTableKind();
    if ((result.Code == 0 && mapResponse) || tableEnd) {
        try {
            const MappingOutcome m = MapResponse(result.Code, result.Response.get());
            e.Code = m.Code;
            e.Done = !m.Row || m.Code != 0;
            if (m.ErrorIndex != 0)
                e.ErrorIndex = m.ErrorIndex;
        } catch (const OvException& ex) {
            e.Code = ex.code();
            e.Message = ex.message();
        }
    }
    if (e.Message.isEmpty())
        e.Message = e.Code == result.Code ? result.Message() : OvErrorMessage(e.Code);
    if (handler)
        handler(e, VarList);
}
