#pragma once

struct snmp_pdu;

// The framework codes of what net-snmp and agents report.

// A net-snmp SNMPERR_* status.
int OvLibraryStatusCode(int snmpError);
// An agent's error-status.
int OvAgentStatusCode(long errorStatus);
// A Report PDU.
int OvReportCode(snmp_pdu* report);
