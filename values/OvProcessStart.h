#pragma once

// What every program of the module sets before anything else. A write past the file size
// limit (ulimit -f) then fails and is reported like a full disk, instead of the signal
// ending the program without a word and with its files half written.
void OvStartProcess();
