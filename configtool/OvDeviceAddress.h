#pragma once

#include <QString>

// A device's address as velmarn-config takes it.

// Whether text is an IPv6 address, with or without a zone ("fe80::1%eth0").
bool OvIsIPv6(const QString& text);
// What is wrong with a port, or nothing (and then port is set).
QString OvReadPort(const QString& text, quint16& port);
// Splits "HOST", "HOST:PORT", an IPv6 address alone, "[IPV6]" or "[IPV6]:PORT" into host
// and port (0 when it names none). Returns what is wrong with it, or nothing.
QString OvSplitAddress(const QString& address, QString& host, quint16& port);
