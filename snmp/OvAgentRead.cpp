#include "snmp/OvAgentRead.h"

#include "errors/OvErrors.h"
#include "snmp/OvValueText.h"
#include "values/OvSyntaxText.h"
#include "snmp/TSNMPSession.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QPointer>

OvAgentRead::OvAgentRead(const OvSNMPTarget& target, QObject* parent) : QObject(parent), Target(target) {}

QString OvWrongTypeCellsText(int cells) {
    return QStringLiteral("%1 %2 of the wrong type left empty")
        .arg(cells)
        .arg(cells == 1 ? QStringLiteral("cell") : QStringLiteral("cells"));
}

void OvAgentRead::Begin() {
    Running = true;
    WrongType = 0;
}

void OvAgentRead::Send(OvPduPtr pdu, std::function<void(OvSNMPResult&)> answer) {
    OvSNMPEngine* engine = TSNMPSession::Engine();
    if (!engine) {
        Finish(OvCode::CannotCreateSession);
        return;
    }
    QPointer<OvAgentRead> self(this);
    try {
        engine->SendAsync(Target, std::move(pdu), [self, answer = std::move(answer)](OvSNMPResult& result) {
            if (self && self->Running)
                answer(result);
        });
    } catch (const OvException& e) {
        Finish(e.code(), e.message());
    }
}

void OvAgentRead::Finish(int code) {
    Finish(code, code == 0 ? QString() : OvErrorMessage(code));
}

void OvAgentRead::Finish(int code, const QString& message) {
    if (!Running)
        return;
    Running = false;
    Q_EMIT Finished(code, message);
}

bool OvAgentRead::ParseOid(const QString& text, OvOidPath& path) {
    return OvParseOid(text, path) && path.size() >= 2 && path.size() <= MAX_OID_LEN;
}

void OvAgentRead::AddNull(snmp_pdu* pdu, const OvOidPath& path) {
    std::vector<oid> name(path.begin(), path.end());
    snmp_add_null_var(pdu, name.data(), name.size());
}

OvOidPath OvAgentRead::NameOf(const variable_list* vb) {
    OvOidPath path;
    path.reserve(vb->name_length);
    for (size_t i = 0; i < vb->name_length; ++i)
        path.push_back(static_cast<quint32>(vb->name[i]));
    return path;
}

QString OvAgentRead::TextOf(int syntax, const variable_list* vb) {
    try {
        return OvReceivedText(syntax, vb);
    } catch (const OvException&) {
        return QString();
    }
}

int OvAgentRead::RefusedItem(const OvSNMPResult& result, const std::vector<size_t>& asked) {
    const int at = result.ErrorIndex;
    if (result.Code != OvCode::NoSuchName || at < 1 || static_cast<size_t>(at) > asked.size())
        return -1;
    return static_cast<int>(asked[static_cast<size_t>(at - 1)]);
}
