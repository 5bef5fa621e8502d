#include "mib/OvMibExport.h"

#include "values/OvCsv.h"
#include "values/OvSaveFile.h"

#include <QFile>

OvMibExport::OvMibExport(const OvMibView& view, const OvSNMPTarget& target, const QString& file,
                         QObject* parent)
    : QObject(parent), Reader(view, target), File(file) {
    connect(&Reader, &OvMibReader::RowsArrived, this, [this](const std::vector<OvMibRow>& rows) {
        for (const OvMibRow& r : rows)
            Rows.push_back(r.Cells);
    });
    connect(&Reader, &OvMibReader::Finished, this, &OvMibExport::Finished);
}

void OvMibExport::Start() {
    Rows.clear();
    Reader.Read();
}

QByteArray OvMibExport::CsvText(const QStringList& titles, const std::vector<QStringList>& rows) {
    QString text = OvCsvLine(titles);
    for (const QStringList& r : rows)
        text += OvCsvLine(r);
    return text.toUtf8();
}

bool OvMibExport::WriteFile(const QString& file, const QByteArray& text, QString& message) {
    if (file == QStringLiteral("-")) {
        QFile out;
        if (out.open(stdout, QIODevice::WriteOnly) && out.write(text) == text.size() && out.flush())
            return true;
        message = QStringLiteral("Cannot write the standard output!");
        return false;
    }
    return OvSaveWhole(file, text, message);
}

void OvMibExport::Finished(int code, const QString& message) {
    if (code != 0) {
        ErrorMessage = message;
        Q_EMIT Done(1);
        return;
    }
    const bool written = WriteFile(File, CsvText(Reader.Titles(), Rows), ErrorMessage);
    Q_EMIT Done(written ? 0 : 1);
}
