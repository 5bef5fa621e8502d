#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// Points the user's state and configuration folders into a test program's private folder,
// for the program and every program it starts: engine-boots files and remembered
// connections of tests never reach the real home folder.
inline void UsePrivateUserFolders(const QString& work) {
    qputenv("XDG_STATE_HOME", QFile::encodeName(QDir(work).filePath(QStringLiteral("state"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(work).filePath(QStringLiteral("config"))));
}
