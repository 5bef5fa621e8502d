// Files replaced whole or not at all: exports, backups and logs the user keeps.
#include "values/OvSaveFile.h"
#include "values/OvLineAppender.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// Limits the size of files this process writes, as `ulimit -f` does, while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &Saved);
        Old = ::signal(SIGXFSZ, SIG_IGN); // a refused write then fails instead of killing
        const rlimit limit{bytes, Saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &Saved);
        ::signal(SIGXFSZ, Old);
    }

private:
    rlimit Saved{};
    sighandler_t Old;
};

} // namespace

TEST(SaveFile, AFileIsReplacedOnlyWhenWrittenWhole) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.csv"));
    QString message;
    ASSERT_TRUE(OvSaveWhole(path, "old\n", message)) << message.toStdString();
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(OvSaveWhole(path, QByteArray(4096, 'x'), message));
    }
    EXPECT_TRUE(message.contains(QStringLiteral("1024 of 4096"))) << message.toStdString();
    EXPECT_EQ(contentOf(path), QByteArray("old\n"));

    // Written in pieces; a cancelled or destroyed one replaces nothing.
    {
        OvReplacingFile pieces(path);
        ASSERT_TRUE(pieces.Open());
        EXPECT_TRUE(pieces.Write("a,b\n"));
        EXPECT_TRUE(pieces.Write("1,2\n"));
        pieces.Cancel();
    }
    EXPECT_EQ(contentOf(path), QByteArray("old\n"));
    OvReplacingFile pieces(path);
    ASSERT_TRUE(pieces.Open() && pieces.Write("a,b\n") && pieces.Write("1,2\n") && pieces.Commit());
    EXPECT_EQ(contentOf(path), QByteArray("a,b\n1,2\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{QStringLiteral("kept.csv")}); // no leftovers

    EXPECT_FALSE(OvSaveWhole(dir.path(), "x", message)); // a folder
}

TEST(SaveFile, APipeIsWrittenIntoAndStaysAPipe) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    // The reading end is open first, so that the write neither waits nor blocks.
    const int reading = ::open(pipe.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reading, 0);
    QString message;
    EXPECT_TRUE(OvSaveWhole(pipe, "through\n", message)) << message.toStdString();
    char buffer[64] = {};
    const ssize_t n = ::read(reading, buffer, sizeof buffer);
    ::close(reading);
    EXPECT_EQ(QByteArray(buffer, n > 0 ? static_cast<int>(n) : 0), QByteArray("through\n"));
    // Nobody reads it now: refused at once instead of waiting for a reader.
    EXPECT_FALSE(OvSaveWhole(pipe, "again\n", message));
    EXPECT_TRUE(message.contains(QStringLiteral("no program reads the pipe"))) << message.toStdString();
    struct stat st {};
    ASSERT_EQ(::stat(pipe.toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// Writers of user-given files follow a link in a shared folder (/tmp) only if it is the user's.
TEST(SaveFile, OnlyTheUsersOwnLinkInASharedFolderIsFollowed) {
    QTemporaryDir dir;
    QString target = dir.filePath("target"), link = dir.filePath("shared/link"), message;
    ASSERT_TRUE(OvSaveWhole(target, "kept\n", message) && QDir(dir.path()).mkdir("shared") &&
                ::chmod(QFile::encodeName(dir.filePath("shared")).constData(), 01777) == 0 &&
                QFile::link(target, link));
    for (const uid_t owner : {uid_t{65534}, ::geteuid()}) {
        ASSERT_EQ(::lchown(QFile::encodeName(link).constData(), owner, gid_t(-1)), 0);
        OvLineAppender journal(link);
        EXPECT_EQ(OvSaveWhole(link, "new\n", message), journal.Open()) << message.toStdString();
        EXPECT_EQ(contentOf(target), owner == ::geteuid() ? "new\n" : "kept\n");
    }
}
