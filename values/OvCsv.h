#pragma once

#include <QString>
#include <QStringList>

// RFC 4180 text: a field is quoted when it holds a comma, a quote or a line break (quotes
// doubled inside); a line ends with CR LF.
QString OvCsvField(const QString& text);
QString OvCsvLine(const QStringList& fields);
