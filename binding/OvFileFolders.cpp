#include "binding/OvFileFolders.h"

#include "snmp/OvBootCounter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

QString settingsKey(OvFileFolders::Kind kind) {
    return kind == OvFileFolders::Kind::Csv ? QStringLiteral("folders/csv")
                                            : QStringLiteral("folders/notificationLog");
}

bool isInside(const QString& folder, const QString& outer) {
    const QString inner = QDir::cleanPath(folder);
    const QString base = QDir::cleanPath(outer);
    return inner == base || inner.startsWith(base + QLatin1Char('/'));
}

// A new user may have no documents folder yet: then the home folder, which always exists.
QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

// Qt's file dialog keeps its history and side bar in QtProject.conf of the user's
// configuration folder, which every Qt program shares. While one of ours is open, that file
// is ours under ~/.config/velmarn/, so that every file of ours is there and goes with it.
class TDialogStateInOurFolder {
public:
    TDialogStateInOurFolder() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           configFolder() + QStringLiteral("/velmarn"));
    }
    ~TDialogStateInOurFolder() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder());
    }
    TDialogStateInOurFolder(const TDialogStateInOurFolder&) = delete;
    TDialogStateInOurFolder& operator=(const TDialogStateInOurFolder&) = delete;

private:
    static QString configFolder() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }
};

} // namespace

OvFileFolders& OvFileFolders::Program() {
    static OvFileFolders program;
    return program;
}

QString OvFileFolders::StartFolder(Kind kind) const {
    const auto last = Last.find(kind);
    if (last != Last.end() && QFileInfo(last->second).isDir() &&
        !isInside(last->second, OvBootCounter::StateFolder()))
        return last->second;
    return documentsFolder();
}

void OvFileFolders::Used(Kind kind, const QString& fileName) {
    if (fileName.isEmpty())
        return;
    Last[kind] = QFileInfo(fileName).absolutePath();
    if (Kept)
        QSettings().setValue(settingsKey(kind), Last[kind]);
}

void OvFileFolders::KeepAcrossRuns() {
    Kept = true;
    const QSettings settings;
    for (Kind kind : {Kind::Csv, Kind::NotificationLog}) {
        const QString folder = settings.value(settingsKey(kind)).toString();
        if (!folder.isEmpty() && !Last.count(kind))
            Last[kind] = folder;
    }
}

QString OvAskSaveFileName(QWidget* parent, OvFileFolders::Kind kind, const QString& caption,
                          const QString& suggestedName, const QString& filter) {
    OvFileFolders& folders = OvFileFolders::Program();
    const QString start = QDir(folders.StartFolder(kind)).filePath(suggestedName);
    QString fileName;
    {
        const TDialogStateInOurFolder dialogState;
        fileName = QFileDialog::getSaveFileName(parent, caption, start, filter);
    }
    folders.Used(kind, fileName);
    return fileName;
}

QString OvAskOpenFileName(QWidget* parent, OvFileFolders::Kind kind, const QString& caption,
                          const QString& filter) {
    OvFileFolders& folders = OvFileFolders::Program();
    QString fileName;
    {
        const TDialogStateInOurFolder dialogState;
        fileName = QFileDialog::getOpenFileName(parent, caption, folders.StartFolder(kind), filter);
    }
    folders.Used(kind, fileName);
    return fileName;
}
