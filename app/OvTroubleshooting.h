#pragma once

#include <QString>
#include <vector>

// The README's Troubleshooting table, built into the program: what to check for each
// message the status line, the logs and the connect dialog's test show.
struct OvTroubleshootingRow {
    QString Message;
    QString Hint;
};
const std::vector<OvTroubleshootingRow>& OvTroubleshootingRows();

// The hint for a message: the row whose message it starts with (the longest such, so
// that a message with a hint of its own after it finds that row); empty when none.
QString OvTroubleshootingHint(const QString& message);
