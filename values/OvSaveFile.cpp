#include "values/OvSaveFile.h"

#include <QSaveFile>

bool OvSaveWhole(const QString& file, const QByteArray& bytes, QString& message) {
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
        return true;
    message = QStringLiteral("Cannot write %1: %2").arg(file, out.errorString());
    return false;
}
