#pragma once

#include <QByteArray>

// What an SNMPv3 message says in the clear about its sender: the authoritative engine,
// its boots and time, and the user. Read before the library authenticates the message,
// so that the user's keys for a sending engine can be made first.
struct OvUsmHeader {
    quint8 Flags = 0; // msgFlags: 1 authenticated, 2 encrypted, 4 reportable
    QByteArray EngineId;
    quint32 Boots = 0;
    quint32 Time = 0;
    QByteArray User;
};

// Reads the header of an SNMPv3 message; false for any other version and for anything
// malformed or truncated (never reads past length).
bool OvReadUsmHeader(const unsigned char* data, size_t length, OvUsmHeader& header);
