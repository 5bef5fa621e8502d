#pragma once

#include <QString>
#include <vector>

// What to check in the connect dialog for each message its test can end with, in the
// dialog's own words: the fields to look at, not the launch options a host gives.
struct OvConnectHint {
    QString Message;
    QString Hint;
};
const std::vector<OvConnectHint>& OvConnectHints();

// The hint for a message: the row whose message it starts with (the longest such, so
// that a message with a hint of its own after it finds that row); empty when none.
QString OvConnectHintFor(const QString& message);
