#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The text of a string value as the viewer shows and exports it: the octets as text when
// they are UTF-8 without control characters, else as hex octets ("FF FE 80 61"), so that
// the bytes can always be told apart from text.
QString OvMibOctetsText(const QByteArray& octets);

// A cell of a view: a null QString is a cell the agent has no value for (shown as a grey
// dash, exported as an empty field); an empty text is an empty string (exported as "").
inline QString OvMibPresent(const QString& text) {
    return text.isNull() ? QString(QLatin1String("")) : text;
}

// One CSV line (RFC 4180, CR LF) of a view's cells: missing cells are empty fields, empty
// strings are "".
QByteArray OvMibCsvLine(const QStringList& cells);

// Orders two cell texts as an engineer expects: numbers as numbers, texts with numbers in
// them (addresses, indexes, "port-10") part by part with the numbers compared as numbers;
// missing cells first.
bool OvMibLess(const QString& a, const QString& b);
