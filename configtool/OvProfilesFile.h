#pragma once

#include "configtool/OvConfigOptions.h"

#include <QString>
#include <map>

// --profiles: an INI file of named credentials, each instead of the command line's:
//   [site-b]
//   version=3  user=...  auth-protocol=SHA  auth-passphrase-file=...  priv-protocol=AES
//   priv-passphrase-file=...  context=...  community=...  write-community=...
// Pass phrases come from files only, found beside the profiles file when relative. Each
// profile's target is base with its credentials. Values are taken as written: no
// continuation, inline comment, quotes or list. A line that is not blank, a comment, a
// [section] or key=value, or that cannot be taken as written, raises OvUsageError naming it.
// port, timeout and retries a profile leaves out are base's and timing's (the command line's).
std::map<QString, OvProfile> OvReadProfiles(const QString& fileName, const OvSNMPTarget& base,
                                            const OvTiming& timing);
