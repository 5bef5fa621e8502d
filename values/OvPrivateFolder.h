#pragma once

#include <QString>

// Makes folder and the folders above it that are missing; the folder itself, when made,
// only its owner may read (0700): it holds what the device sent and the engine's state.
// False with the system's reason ("Read-only file system", "Permission denied").
bool OvMakePrivateFolder(const QString& folder, QString& error);
