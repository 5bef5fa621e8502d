#pragma once

#include "mib/OvMibReader.h"

#include <QObject>
#include <QStringList>
#include <memory>

class OvReplacingFile;
class QFile;

// Reads a view once and writes it as CSV ("-" for standard output) while it reads: the
// first line the column titles, then one line per row as rows complete, so that memory
// stays flat however long the table. A file is written under a temporary name and
// renamed at the end: a failed read leaves none. Done tells the exit status: 0 written,
// 1 failed or written with cells of the wrong type left empty (Message says why).
class OvMibExport : public QObject {
    Q_OBJECT
public:
    OvMibExport(const OvMibView& view, const OvSNMPTarget& target, const QString& file,
                QObject* parent = nullptr);
    ~OvMibExport() override;

    void Start();
    const QString& Message() const { return ErrorMessage; }

    // The CSV text of titles and rows, as the view windows save it.
    static QByteArray CsvText(const QStringList& titles, const std::vector<QStringList>& rows);
    // Writes text to file ("-": standard output), replacing it whole; false and why when it fails.
    static bool WriteFile(const QString& file, const QByteArray& text, QString& message);

Q_SIGNALS:
    void Done(int status);

private:
    bool Open();
    void Write(const QByteArray& bytes);
    void Finished(int code, const QString& message);

    OvMibReader Reader;
    QString File;
    std::unique_ptr<QFile> Stdout;              // "-"
    std::unique_ptr<OvReplacingFile> Replacing; // any other file
    bool TitlesWritten = false;
    bool WriteFailed = false;
    QString ErrorMessage;
};
