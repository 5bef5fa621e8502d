#pragma once

#include <QString>

// The ranges and sizes that the standard definitions of the catalogue's objects give them
// (the IEEE 802.11 MIB), kept as data beside the catalogue's rows, which stay as they are.
// The windows show them in their tooltips and keep their own %i/%s checks;
// velmarn-config refuses a file value outside them before anything is sent.
struct OvStandardRange {
    const char* Name; // the object's name in the catalogue
    qint64 Min;
    qint64 Max;
    bool Octets; // a size in octets rather than a value
    const char* Source;

    // "0..2347" or "0..32 octets", with its source.
    QString Text() const;
};

// The range of the object of that name, or null when its definition gives none.
const OvStandardRange* OvStandardRangeOf(const QString& name);
