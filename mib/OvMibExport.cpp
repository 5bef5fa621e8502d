#include "mib/OvMibExport.h"

#include "mib/OvMibText.h"
#include "values/OvSaveFile.h"

#include <QFile>
#include <QSaveFile>

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
        auto out = std::make_unique<QFile>();
        if (!out->open(stdout, QIODevice::WriteOnly)) {
            ErrorMessage = QStringLiteral("Cannot write the standard output!");
            return false;
        }
        Out = std::move(out);
        return true;
    }
    auto out = std::make_unique<QSaveFile>(File);
    if (!out->open(QIODevice::WriteOnly)) {
        ErrorMessage = QStringLiteral("Cannot write %1: %2").arg(File, out->errorString());
        return false;
    }
    Out = std::move(out);
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
    if (!WriteFailed && Out->write(bytes) != bytes.size())
        WriteFailed = true;
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
    auto* saved = dynamic_cast<QSaveFile*>(Out.get());
    if (code != 0) {
        ErrorMessage = message;
        if (saved)
            saved->cancelWriting();
        Out.reset();
        Q_EMIT Done(1);
        return;
    }
    if (!TitlesWritten) // an empty table: its titles only
        Write(OvMibCsvLine(Reader.Titles()));
    const bool written = !WriteFailed && (saved ? saved->commit() : Out->flush());
    if (!written)
        ErrorMessage = saved ? QStringLiteral("Cannot write %1: %2").arg(File, saved->errorString())
                             : QStringLiteral("Cannot write the standard output!");
    Out.reset();
    Q_EMIT Done(written ? 0 : 1);
}
