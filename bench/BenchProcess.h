#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The peak resident memory of a running process's own image (VmHWM), in kB; 0 when gone.
inline long PeakResidentKb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}
