#pragma once

#include <QString>
#include <map>

class QWidget;

// Where the program's save and open dialogs start: in the folder last used for that kind
// of file, else in the user's documents folder, never in the hidden state folder, which
// holds the program's own files (a menu-started module keeps its files there).
class OvFileFolders {
public:
    enum class Kind { Csv, NotificationLog };

    // The record every dialog of the program uses.
    static OvFileFolders& Program();

    QString StartFolder(Kind kind) const;
    // A dialog returned fileName: its folder is where the next dialog of that kind starts.
    void Used(Kind kind, const QString& fileName);
    // Keeps the folders in the program's settings, so that the next run starts there too;
    // only the menu-started module keeps settings.
    void KeepAcrossRuns();

private:
    std::map<Kind, QString> Last;
    bool Kept = false;
};

// The save and open dialogs, started where OvFileFolders says and telling it what was
// chosen. Empty when the user cancels.
QString OvAskSaveFileName(QWidget* parent, OvFileFolders::Kind kind, const QString& caption,
                          const QString& suggestedName, const QString& filter);
QString OvAskOpenFileName(QWidget* parent, OvFileFolders::Kind kind, const QString& caption,
                          const QString& filter);
