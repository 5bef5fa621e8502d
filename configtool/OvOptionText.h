#pragma once

#include "configtool/OvConfigOptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Values as options and profiles spell them; each raises OvUsageError naming what is wrong.

// An SNMPv3 protocol by its name, any case, among names; what: "authentication" or "privacy".
int OvProtocolNumber(const std::vector<OvProtocolName>& names, const QString& name, const char* what);
// "1", "2c" or "3" as the library's version number; what names where it was given.
quint8 OvVersionNumber(const QString& v, const QString& what);
// A whole number from lowest to highest; what names where it was given.
int OvWholeNumber(const QString& text, int lowest, int highest, const QString& what);
// Seconds from 0.01 to 60, fractions allowed, as milliseconds; what names where it was given.
int OvMilliseconds(const QString& text, const QString& what);
// A community has one character at least; what names where it comes from.
void OvCheckCommunity(const QString& community, const QString& what);
// The credentials without options or profile: SNMPv2c with the default communities.
OvCredentials OvBuiltInCredentials();
// The lines of a text file in UTF-8, without a byte-order mark.
QStringList OvTextLines(const QByteArray& bytes);
// text for a message: its first 200 characters and "…" when it is longer, so that a huge
// value does not flood the terminal.
QString OvExcerpt(const QString& text);
