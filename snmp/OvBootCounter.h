#pragma once

#include <QByteArray>
#include <QString>

// The SNMPv3 engine-boots counter file. One line per engine: the engine ID written two
// characters per byte (64 + high nibble, 64 + low nibble), a blank, the decimal count.
// Lines starting with "#" are comments. Other programs keep their own lines in the same
// file, so saving keeps every line but ours.
namespace OvBootCounter {

constexpr int Found = 0;
constexpr int NoEntry = -1;
constexpr int CannotOpen = -2;
constexpr int Malformed = -3;
constexpr int CannotSave = -4;
constexpr int Unreadable = -5; // the file is there but cannot be read

// snmpEngineBoots never goes past this value.
constexpr quint32 MaximumBoots = 2147483647;

QString EncodeEngineId(const QByteArray& engineId);

// Reads the count for engineId; boots is 0 unless Found.
int Load(const QString& fileName, const QByteArray& engineId, quint32& boots);

// Writes the count for engineId, replacing the file atomically and keeping every other
// line byte for byte. Refuses (CannotSave) a file it cannot read and anything at that
// name that is not a regular file (a symbolic link is not followed).
int Save(const QString& fileName, const QByteArray& engineId, quint32 boots);

// Load, one more (up to MaximumBoots), Save, under a lock that concurrent starts share.
// Returns Load's error below CannotOpen, else Save's status; boots holds the new count.
int Increment(const QString& fileName, const QByteArray& engineId, quint32& boots);

// Why the file at fileName could not be used after status (Malformed, CannotSave or
// Unreadable), as a sentence naming the file: what stands there, or what its folder
// refuses. Said after the load or save error's own message.
QString Problem(const QString& fileName, int status);

// The folder for the counter of programs that are not started in a folder of their own
// (the desktop menu's module, velmarn-config): $XDG_STATE_HOME/velmarn, or
// ~/.local/state/velmarn without an absolute XDG_STATE_HOME. Created when missing, as far
// as it can be; the path is returned either way.
QString StateFolder();

} // namespace OvBootCounter
