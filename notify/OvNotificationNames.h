#pragma once

#include "notify/OvNotification.h"

#include <QString>

struct variable_list;

// Names of what a notification carries, from the catalogue, the MIB-II views and the
// notifications of MIB-II and the IEEE 802.11 MIB.

// The notification's name ("linkDown", "dot11AuthenticateFail"), else its OID.
QString OvNotificationName(const QString& oid);

// The OID of an SNMPv1 trap as SNMPv2 names it: a generic trap's standard OID, else the
// enterprise followed by 0 and the specific trap number.
QString OvTrapOidOfV1(const QString& enterprise, long genericTrap, long specificTrap);

// A received binding as shown and logged: named where the object is known (with the
// instance after its name), its value in the module's text form for the object's syntax
// (the station MAC in the MAC form), else in the form of its wire type.
OvNotifiedBinding OvNameBinding(const variable_list* vb);
