#include "mib/OvMibExport.h"

#include "mib/OvMibText.h"
#include "snmp/OvAgentRead.h"
#include "values/OvSaveFile.h"

#include <QFile>

OvMibExport::OvMibExport(const OvMibView& view, const OvSNMPTarget& target, const QString& file,
                         QObject* parent)
    : QObject(parent), Reader(view, target), File(file) {
    connect(&Reader, &OvMibReader::RowsArrived, this, [this](const std::vector<OvMibRow>& rows) {
        if (!TitlesWritten) {
            Write(OvMibCsvLine(Reader.Titles()));
            TitlesWritten = true;
        }
        QByteArray lines;
        for (const OvMibRow& r : rows)
            lines += OvMibCsvLine(r.Cells);
        Write(lines);
    });
    connect(&Reader, &OvMibReader::Finished, this, &OvMibExport::Finished);
}

OvMibExport::~OvMibExport() = default;

bool OvMibExport::Open() {
    if (File == QStringLiteral("-")) {
        Stdout = std::make_unique<QFile>();
        if (!Stdout->open(stdout, QIODevice::WriteOnly)) {
            ErrorMessage = QStringLiteral("Cannot write the standard output!");
            return false;
        }
        return true;
    }
    Replacing = std::make_unique<OvReplacingFile>(File);
    if (!Replacing->Open()) {
        ErrorMessage = QStringLiteral("Cannot write %1: %2").arg(File, Replacing->Error());
        return false;
    }
    return true;
}

void OvMibExport::Start() {
    TitlesWritten = false;
    WriteFailed = false;
    if (!Open()) {
        Q_EMIT Done(1);
        return;
    }
    Reader.Read();
}

void OvMibExport::Write(const QByteArray& bytes) {
    if (!WriteFailed)
        WriteFailed = Stdout ? Stdout->write(bytes) != bytes.size() : !Replacing->Write(bytes);
}

QByteArray OvMibExport::CsvText(const QStringList& titles, const std::vector<QStringList>& rows) {
    QByteArray text = OvMibCsvLine(titles);
    for (const QStringList& r : rows)
        text += OvMibCsvLine(r);
    return text;
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
        Stdout.reset();
        Replacing.reset(); // the old file stays as it was
        Q_EMIT Done(1);
        return;
    }
    if (!TitlesWritten) // an empty table: its titles only
        Write(OvMibCsvLine(Reader.Titles()));
    const bool written = !WriteFailed && (Stdout ? Stdout->flush() : Replacing->Commit());
    if (!written)
        ErrorMessage = Stdout ? QStringLiteral("Cannot write the standard output!")
                              : QStringLiteral("Cannot write %1: %2").arg(File, Replacing->Error());
    Stdout.reset();
    Replacing.reset();
    // The file is whole, but what the agent answered wrongly is not in it.
    const int wrong = Reader.WrongTypeCells();
    if (written && wrong > 0)
        ErrorMessage = OvWrongTypeCellsText(wrong);
    Q_EMIT Done(written && wrong == 0 ? 0 : 1);
}
