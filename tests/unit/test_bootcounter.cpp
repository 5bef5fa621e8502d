#include "errors/OvErrors.h"
#include "snmp/OvBootCounter.h"
#include "snmp/TSNMPSession.h"

#include "TestSupport.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {
const QByteArray kId("OvSNMP_PP_Application");

QString readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QString::fromLatin1(f.readAll());
}

void writeAll(const QString& path, const QString& text) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text.toLatin1());
}
} // namespace

TEST(BootCounter, EncodesTwoCharactersPerByte) {
    EXPECT_EQ(OvBootCounter::EncodeEngineId(QByteArray("\x4F", 1)), QStringLiteral("DO"));
    EXPECT_EQ(OvBootCounter::EncodeEngineId(QByteArray("\x00\xFF", 2)), QStringLiteral("@@OO"));
    EXPECT_EQ(OvBootCounter::EncodeEngineId(kId).size(), 42);
}

TEST(BootCounter, MissingFileAndMissingEntryAreNoErrors) {
    QTemporaryDir dir;
    quint32 boots = 99;
    const QString file = dir.filePath(QStringLiteral("counter"));
    EXPECT_EQ(OvBootCounter::Load(file, kId, boots), OvBootCounter::CannotOpen);
    EXPECT_EQ(boots, 0u);
    writeAll(file, QStringLiteral("# nothing here\n"));
    boots = 5;
    EXPECT_EQ(OvBootCounter::Load(file, kId, boots), OvBootCounter::NoEntry);
    EXPECT_EQ(boots, 0u);
}

TEST(BootCounter, SaveKeepsCommentsAndForeignLinesAndReplacesOurs) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("counter"));
    const QString ours = OvBootCounter::EncodeEngineId(kId);
    const QString foreign = OvBootCounter::EncodeEngineId(QByteArray("OtherEngine"));
    const QString longer = OvBootCounter::EncodeEngineId(kId + "X"); // starts with our ID
    writeAll(file, QStringLiteral("# kept comment\n%1 7\n%2 41\n%3 3\n%2 40\n").arg(foreign, ours, longer));
    quint32 boots = 0;
    ASSERT_EQ(OvBootCounter::Load(file, kId, boots), OvBootCounter::Found);
    EXPECT_EQ(boots, 41u);
    ASSERT_EQ(OvBootCounter::Save(file, kId, 42), 0);
    const QString text = readAll(file);
    EXPECT_TRUE(text.contains(QStringLiteral("# kept comment\n")));
    EXPECT_TRUE(text.contains(foreign + QStringLiteral(" 7\n")));
    EXPECT_TRUE(text.contains(longer + QStringLiteral(" 3\n")));
    EXPECT_EQ(text.count(ours + QLatin1Char(' ')), 1) << text;
    EXPECT_TRUE(text.contains(ours + QStringLiteral(" 42\n")));
    EXPECT_FALSE(text.contains(QStringLiteral(" 40")));
    EXPECT_EQ(OvBootCounter::Load(file, kId, boots), OvBootCounter::Found);
    EXPECT_EQ(boots, 42u);
}

TEST(BootCounter, NewFileStartsWithComments) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("counter"));
    ASSERT_EQ(OvBootCounter::Save(file, kId, 1), 0);
    const QString text = readAll(file);
    EXPECT_TRUE(text.startsWith(QLatin1Char('#')));
    EXPECT_TRUE(text.endsWith(OvBootCounter::EncodeEngineId(kId) + QStringLiteral(" 1\n")));
}

struct BadLine {
    const char* name;
    const char* count;
};
class MalformedEntry : public ::testing::TestWithParam<BadLine> {};

TEST_P(MalformedEntry, IsLoadError) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("counter"));
    writeAll(file, OvBootCounter::EncodeEngineId(kId) + QLatin1Char(' ') +
                       QString::fromLatin1(GetParam().count) + QLatin1Char('\n'));
    quint32 boots = 0;
    EXPECT_EQ(OvBootCounter::Load(file, kId, boots), OvBootCounter::Malformed);
}

INSTANTIATE_TEST_SUITE_P(Lines, MalformedEntry,
                         ::testing::Values(BadLine{"letters", "abc"}, BadLine{"empty", ""},
                                           BadLine{"negative", "-3"}, BadLine{"tooLarge", "4294967296"},
                                           BadLine{"trailingGarbage", "12x"}),
                         RowName());

TEST(BootCounter, GarbageLinesOfOthersAreKept) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("counter"));
    writeAll(file, QStringLiteral("this is not a counter line\n\n%%%\n"));
    quint32 boots = 0;
    EXPECT_EQ(OvBootCounter::Load(file, kId, boots), OvBootCounter::NoEntry);
    ASSERT_EQ(OvBootCounter::Save(file, kId, 1), 0);
    EXPECT_TRUE(readAll(file).startsWith(QStringLiteral("this is not a counter line\n\n%%%\n")));
}

TEST(BootCounter, ReadOnlyFileAndMissingDirectoryCannotBeSaved) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("counter"));
    writeAll(file, QStringLiteral("# read only\n"));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_NE(OvBootCounter::Save(file, kId, 1), 0);
    EXPECT_EQ(readAll(file), QStringLiteral("# read only\n"));
    EXPECT_NE(OvBootCounter::Save(dir.filePath(QStringLiteral("no/such/dir/counter")), kId, 1), 0);
}

TEST(BootCounter, WhatCannotBeKeptIsNeverReplaced) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("counter"));
    quint32 boots = 0;
    // Unreadable: a load error, and the file stays as it is.
    writeAll(file, QStringLiteral("# theirs\n"));
    QFile::setPermissions(file, QFile::WriteOwner);
    EXPECT_EQ(OvBootCounter::Increment(file, kId, boots), OvBootCounter::Unreadable);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readAll(file), QStringLiteral("# theirs\n"));
    // A symbolic link is not followed and a FIFO not opened.
    const QString target = dir.filePath(QStringLiteral("target"));
    writeAll(target, QStringLiteral("precious\n"));
    const QString link = dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(OvBootCounter::Increment(link, kId, boots), OvBootCounter::CannotSave);
    EXPECT_EQ(readAll(target), QStringLiteral("precious\n"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(OvBootCounter::Increment(fifo, kId, boots), OvBootCounter::CannotSave);
}

TEST(BootCounter, OtherLinesKeepTheirBytesAndTheCountStopsAtItsMaximum) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("counter"));
    const QString ours = OvBootCounter::EncodeEngineId(kId);
    writeAll(file, QStringLiteral("# windows line\r\n%1 2147483646\r\nlast line without newline").arg(ours));
    quint32 boots = 0;
    ASSERT_EQ(OvBootCounter::Increment(file, kId, boots), 0);
    ASSERT_EQ(OvBootCounter::Increment(file, kId, boots), 0);
    EXPECT_EQ(boots, 2147483647u);
    EXPECT_EQ(readAll(file),
              QStringLiteral("# windows line\r\n%1 2147483647\r\nlast line without newline").arg(ours));
}

TEST(BootCounter, ConcurrentStartsEachCount) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("counter"));
    std::vector<std::thread> starts;
    for (int i = 0; i < 10; ++i)
        starts.emplace_back([&file] {
            quint32 boots = 0;
            OvBootCounter::Increment(file, kId, boots);
        });
    for (auto& t : starts)
        t.join();
    quint32 boots = 0;
    ASSERT_EQ(OvBootCounter::Load(file, kId, boots), OvBootCounter::Found);
    EXPECT_EQ(boots, 10u);
}

TEST(BootCounter, FileNameFollowsDirectory) {
    EXPECT_EQ(TSNMPSession::BootCounterPath(QString()), QStringLiteral("OvSNMP_PP_BootCounter"));
    EXPECT_EQ(TSNMPSession::BootCounterPath(QStringLiteral("/tmp/")),
              QStringLiteral("/tmp/OvSNMP_PP_BootCounter"));
    EXPECT_EQ(TSNMPSession::BootCounterPath(QStringLiteral("/tmp")),
              QStringLiteral("/tmp/OvSNMP_PP_BootCounter"));
}

// What stands in the way, said after the error's message: one case per kind of refusal.
TEST(BootCounter, ProblemSaysWhyTheFileCannotBeUsed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("counter"));
    const QString ours = OvBootCounter::EncodeEngineId(kId);
    const struct {
        const char* name;
        std::function<void()> prepare;
        int status;
        QString problem;
    } cases[] = {
        {"link", [&] { QFile::link(dir.filePath(QStringLiteral("elsewhere")), path); },
         OvBootCounter::CannotSave, path + " is a symbolic link; it is not followed or replaced."},
        {"folder", [&] { QDir().mkdir(path); }, OvBootCounter::CannotSave,
         path + " is a folder, not a file."},
        {"fifo", [&] { ::mkfifo(QFile::encodeName(path).constData(), 0600); }, OvBootCounter::CannotSave,
         path + " is not a regular file; it is not replaced."},
        {"readOnly",
         [&] {
             writeAll(path, "# mine\n");
             QFile::setPermissions(path, QFile::ReadOwner);
         },
         OvBootCounter::CannotSave, path + " is read-only."},
        {"unreadable",
         [&] {
             writeAll(path, "# mine\n");
             QFile::setPermissions(path, QFile::WriteOwner);
         },
         OvBootCounter::Unreadable, path + " cannot be read; it is not replaced."},
        {"malformed", [&] { writeAll(path, ours + " many\n"); }, OvBootCounter::Malformed,
         path + " holds a line for this program whose count is not a number."},
    };
    for (const auto& c : cases) {
        c.prepare();
        quint32 boots = 0;
        const int status = OvBootCounter::Increment(path, kId, boots);
        EXPECT_EQ(status, c.status) << c.name;
        EXPECT_EQ(OvBootCounter::Problem(path, status), c.problem) << c.name;
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(path);
        QDir().rmdir(path);
    }
    const QString lost = dir.filePath(QStringLiteral("gone/counter"));
    EXPECT_EQ(OvBootCounter::Problem(lost, OvBootCounter::CannotSave),
              QStringLiteral("The folder %1 does not exist.").arg(dir.filePath(QStringLiteral("gone"))));
}

TEST(BootCounter, StateFolderFollowsXdgStateHomeAndIsCreated) {
    QTemporaryDir dir;
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(dir.filePath(QStringLiteral("home"))));
    const struct {
        QString state;
        QString folder;
    } cases[] = {
        {dir.filePath(QStringLiteral("state")), dir.filePath(QStringLiteral("state/velmarn"))},
        {QString(), dir.filePath(QStringLiteral("home/.local/state/velmarn"))},
        {QStringLiteral("relative/state"), dir.filePath(QStringLiteral("home/.local/state/velmarn"))}};
    for (const auto& c : cases) {
        qputenv("XDG_STATE_HOME", QFile::encodeName(c.state));
        EXPECT_EQ(OvBootCounter::StateFolder(), c.folder) << c.state;
        EXPECT_TRUE(QFileInfo(c.folder).isDir()) << c.state;
    }
    qputenv("XDG_STATE_HOME", savedState);
    qputenv("HOME", savedHome);
}
