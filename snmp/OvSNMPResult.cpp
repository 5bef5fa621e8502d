#include "snmp/OvSNMPResult.h"

#include "errors/OvErrors.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

void OvPduDeleter::operator()(snmp_pdu* pdu) const {
    if (pdu)
        snmp_free_pdu(pdu);
}

QString OvSNMPResult::Message() const {
    const QString message = OvErrorMessage(Code);
    return Hint.isEmpty() ? message : message + QLatin1Char(' ') + Hint;
}
