#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to file, replacing it whole or not at all (no half-written file is left);
// false and the reason in message when it cannot.
bool OvSaveWhole(const QString& file, const QByteArray& bytes, QString& message);
