#pragma once

#include "configtool/OvAddressesFile.h"

#include <QByteArray>
#include <QString>
#include <vector>

// --failed-to FILE: the devices of a run that did not end 0, as they were given, so that
// the file passed to --addresses-file retries only those.
class OvFailedList {
public:
    // The file's text, the entries in their order: plain lines as given; the rows of one
    // CSV file under its header; entries of several forms as CSV rows (address,profile,name).
    static QByteArray Text(const std::vector<OvDeviceEntry>& failed);
    // Replaces file whole with that text (empty when none failed); false and the reason
    // in error when it cannot.
    static bool Write(const QString& file, const std::vector<OvDeviceEntry>& failed, QString& error);
};
