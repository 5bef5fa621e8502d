#pragma once

#include <QString>
#include <vector>

// A device as --address or a line of --addresses-file gives it.
struct OvDeviceEntry {
    QString Address; // "HOST", "HOST:PORT", "[IPV6]:PORT", ...
    QString Profile; // empty: the command line's credentials
    QString Where;   // "--address ..." or "FILE:LINE" (of the profile when one names it), for messages
    QString Line;    // the line as given, without its comment
    bool FromCsv = false;
    QString Header; // a CSV row's header line, as given
    QString Name;   // name=NAME or the CSV "name" column; empty: none
};

// A device's address, refused (OvUsageError) with where it was given when it is not one.
void OvCheckAddress(const QString& address, const QString& where);
// A device's name, refused (OvUsageError) with where it was given when it could not name a
// file on every system: empty, "." or "..", ending in a dot or blank, or with a control
// character or one of < > : " / \ | ? *.
void OvCheckName(const QString& name, const QString& where);

// --addresses-file: its devices, in order; "-" is standard input. The plain form has one
// device a line ("HOST", "HOST:PORT" or "HOST PORT [PROFILE]", then "name=NAME" if it has
// one, "#" starting a comment);
// a file whose first line is a CSV header naming "address" (and any of "port", "profile",
// "name") has one device a row, as spreadsheets and inventories export them. Raises
// OvUsageError naming the line that is no device.
void OvReadAddressesFile(std::vector<OvDeviceEntry>& devices, const QString& name);
