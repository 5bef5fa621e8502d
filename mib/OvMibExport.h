#pragma once

#include "mib/OvMibReader.h"

#include <QObject>
#include <QStringList>

// Reads a view once and writes it as CSV ("-" for standard output): the first line the
// column titles, then one line per row. Done tells the exit status: 0 written, 1 failed
// (Message says why; nothing is written then).
class OvMibExport : public QObject {
    Q_OBJECT
public:
    OvMibExport(const OvMibView& view, const OvSNMPTarget& target, const QString& file,
                QObject* parent = nullptr);

    void Start();
    const QString& Message() const { return ErrorMessage; }

    // The CSV text of titles and rows.
    static QByteArray CsvText(const QStringList& titles, const std::vector<QStringList>& rows);
    // Writes text to file ("-": standard output), replacing it whole; false and why when it fails.
    static bool WriteFile(const QString& file, const QByteArray& text, QString& message);

Q_SIGNALS:
    void Done(int status);

private:
    void Finished(int code, const QString& message);

    OvMibReader Reader;
    QString File;
    std::vector<QStringList> Rows;
    QString ErrorMessage;
};
