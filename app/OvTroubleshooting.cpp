#include "app/OvTroubleshooting.h"

QString OvTroubleshootingHint(const QString& message) {
    const OvTroubleshootingRow* best = nullptr;
    for (const OvTroubleshootingRow& row : OvTroubleshootingRows())
        if (message.startsWith(row.Message) && (!best || row.Message.size() > best->Message.size()))
            best = &row;
    return best ? best->Hint : QString();
}
