// Where the save and open dialogs start.
#include "binding/OvFileFolders.h"
#include "snmp/OvBootCounter.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString documents() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).exists() ? folder : QDir::homePath();
}

} // namespace

TEST(FileFolders, StartInTheLastFolderOfTheirKindElseInDocumentsNeverInTheStateFolder) {
    QTemporaryDir chosen;
    QTemporaryDir removed;
    const QString removedPath = removed.path();
    removed.remove();
    const QString state = OvBootCounter::StateFolder();
    QDir(state).mkpath(QStringLiteral("sub"));
    const struct {
        const char* what;
        QString used; // a file chosen in a dialog of that kind, or none
        QString start;
    } cases[] = {
        {"nothing chosen yet", QString(), documents()},
        {"a file chosen", chosen.filePath(QStringLiteral("counters.csv")), chosen.path()},
        {"a file in the state folder", state + QStringLiteral("/counters.csv"), documents()},
        {"a file below the state folder", state + QStringLiteral("/sub/x.csv"), documents()},
        {"a folder since removed", removedPath + QStringLiteral("/x.csv"), documents()},
    };
    for (const auto& c : cases) {
        OvFileFolders folders;
        folders.Used(OvFileFolders::Kind::Csv, c.used);
        EXPECT_EQ(folders.StartFolder(OvFileFolders::Kind::Csv), c.start) << c.what;
        EXPECT_EQ(folders.StartFolder(OvFileFolders::Kind::NotificationLog), documents()) << c.what;
    }
}

TEST(FileFolders, KeptAcrossRunsOnlyWhereTheProgramKeepsSettings) {
    QSettings().clear();
    QTemporaryDir chosen;
    OvFileFolders forTheRun;
    forTheRun.Used(OvFileFolders::Kind::Csv, chosen.filePath(QStringLiteral("a.csv")));
    OvFileFolders kept;
    kept.KeepAcrossRuns();
    kept.Used(OvFileFolders::Kind::NotificationLog, chosen.filePath(QStringLiteral("n.jsonl")));

    OvFileFolders nextRun;
    nextRun.KeepAcrossRuns();
    EXPECT_EQ(nextRun.StartFolder(OvFileFolders::Kind::Csv), documents());
    EXPECT_EQ(nextRun.StartFolder(OvFileFolders::Kind::NotificationLog), chosen.path());
    OvFileFolders runWithOptions;
    EXPECT_EQ(runWithOptions.StartFolder(OvFileFolders::Kind::NotificationLog), documents());
    QSettings().clear();
}
