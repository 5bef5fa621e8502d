#pragma once

#include <QString>

// The open-file limit and what it leaves for devices: each device in flight holds one
// socket, so a fleet run under a low limit would fail devices that were never reached.
namespace OvOpenFiles {

// Raises the soft open-file limit to the hard one; returns the soft limit then in force.
long RaiseLimit();
// How many devices fit into limit at once beside the files open now and a few kept for
// writing backups and the journal; at least 1.
int DevicesWithin(long limit);
// Why no socket can be opened now ("Too many open files"), or nothing when one can.
QString SocketShortage();

} // namespace OvOpenFiles
