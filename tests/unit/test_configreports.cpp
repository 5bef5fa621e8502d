// What velmarn-config says when its output cannot be written or the options leave nothing
// to do, and what a backup of a few objects keeps of the device.
#include "ConfigToolSuite.h"

#include <QFileInfo>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QJsonObject deviceSection(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("device")).toObject();
}

} // namespace

TEST_F(ConfigTool, ABackupThatCannotBeWrittenFailsAndKeepsTheOldOne) {
    const QString old = file("old.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), old}).Exit, 0);
    QFile f(old);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    // A file size limit below the backup's size: the write comes short (the program itself
    // keeps SIGXFSZ from ending it).
    QProcess limited;
    limited.setChildProcessModifier([] {
        const rlimit small{2048, 2048};
        ::setrlimit(RLIMIT_FSIZE, &small);
    });
    limited.start(QStringLiteral(VELMARN_CONFIG_TOOL),
                  {QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), old});
    ASSERT_TRUE(limited.waitForFinished(60000));
    const QString err = QString::fromUtf8(limited.readAllStandardError());
    EXPECT_EQ(limited.exitCode(), 3) << err;
    EXPECT_TRUE(err.contains(QStringLiteral("cannot write ") + old)) << err;
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll() == before) << "the old backup changed";
    f.close();

    // The backup on standard output, which cannot be written.
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(VELMARN_CONFIG_TOOL),
               {QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup")});
    ASSERT_TRUE(full.waitForFinished(60000));
    const QString fullErr = QString::fromUtf8(full.readAllStandardError());
    EXPECT_EQ(full.exitCode(), 3) << fullErr;
    EXPECT_TRUE(fullErr.contains(QStringLiteral("not backed up: cannot write standard output"))) << fullErr;

    // A named pipe is written into, and stays a pipe.
    const QString pipe = file("pipe");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    // The reading end is open first: the backup fits into the pipe's buffer.
    const int reading = ::open(pipe.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reading, 0);
    EXPECT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), pipe}).Exit, 0);
    QByteArray piped(65536, '\0');
    const ssize_t n = ::read(reading, piped.data(), piped.size());
    ::close(reading);
    piped.resize(n > 0 ? n : 0);
    EXPECT_TRUE(piped == before) << piped.left(200).constData();
    struct stat st {};
    ASSERT_EQ(::stat(pipe.toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(ConfigTool, ABackupOfSomeObjectsStillNamesItsDevice) {
    const QString whole = file("whole.json");
    const QString some = file("some.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), whole}).Exit, 0);
    ASSERT_EQ(
        run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("--only"), QStringLiteral("DSS"),
             QStringLiteral("--exclude"), QStringLiteral("dot11StationID"), QStringLiteral("backup"), some})
            .Exit,
        0);
    EXPECT_EQ(deviceSection(some), deviceSection(whole));
    EXPECT_FALSE(deviceSection(some).value(QStringLiteral("mac")).toString().isEmpty());
    // A template names no device and holds none of its own objects.
    const QString plate = file("template.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("--ignore-identity"),
                   QStringLiteral("backup"), plate})
                  .Exit,
              0);
    QFile t(plate);
    ASSERT_TRUE(t.open(QIODevice::ReadOnly));
    const QByteArray templateJson = t.readAll();
    EXPECT_TRUE(deviceSection(plate).value(QStringLiteral("mac")).toString().isEmpty() &&
                templateJson.contains("dot11RTSThreshold") && !templateJson.contains("dot11StationID"))
        << templateJson.constData();
    const ToolRun r = run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("restore"),
                           QStringLiteral("--dry-run"), some});
    EXPECT_EQ(r.Exit, 0) << r.Err;
}

TEST_F(ConfigTool, CommandsThatCanDoNothingAreUsageErrors) {
    const QString dss = file("dss.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("--only"), QStringLiteral("DSS"),
                   QStringLiteral("backup"), dss})
                  .Exit,
              0);
    struct Case {
        QStringList args;
        const char* says;
    };
    for (const Case& c : {
             Case{{QStringLiteral("--only"), QStringLiteral("Antenna"), QStringLiteral("backup"),
                   file("none.json")},
                  "leave no object to back up"},
             Case{{QStringLiteral("--only"), QStringLiteral("MAC Operation"), QStringLiteral("diff"), dss},
                  "leave none of its objects"},
             Case{{QStringLiteral("backup"), file("missing/{address}.json")}, "no folder"},
         }) {
        const ToolRun r = run(QStringList{QStringLiteral("--address"), at(*Sim())} + c.args);
        EXPECT_EQ(r.Exit, 2) << c.args.join(QLatin1Char(' ')) << r.Err;
        EXPECT_TRUE(r.Err.contains(QLatin1String(c.says))) << r.Err;
    }
    EXPECT_FALSE(QFile::exists(file("none.json")));
}

// A journal line the system refuses, on a device or cut short in a file under a size
// limit: the file keeps whole lines only, no more devices start and the run says why.
TEST_F(ConfigTool, AJournalThatCannotBeWrittenStopsTheRun) {
    const QString backup = file("journalled.json");
    ASSERT_EQ(run({QStringLiteral("--address"), at(*Sim()), QStringLiteral("backup"), backup}).Exit, 0);
    for (const auto& [journal, reason] : {std::pair{QStringLiteral("/dev/full"), "No space left on device"},
                                          std::pair{file("limited.jsonl"), "File too large"}}) {
        QProcess p;
        p.setChildProcessModifier([] {
            const rlimit small{200, 200}; // the first device's line, not the second's
            ::setrlimit(RLIMIT_FSIZE, &small);
        });
        p.start(QStringLiteral(VELMARN_CONFIG_TOOL),
                {QStringLiteral("--parallel"), QStringLiteral("1"), QStringLiteral("--timeout"),
                 QStringLiteral("0.2"), QStringLiteral("--journal"), journal, QStringLiteral("--address"),
                 at(*Sim()), QStringLiteral("--address"), QStringLiteral("127.0.0.2:1"),
                 QStringLiteral("--address"), QStringLiteral("127.0.0.3:1"), QStringLiteral("diff"), backup});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), 3) << err;
        const bool full = journal == QLatin1String("/dev/full");
        EXPECT_TRUE(err.contains(full ? QStringLiteral("stopped: 3 devices: 1 done, 0 differ, 0 failed, 0 "
                                                       "unknown, 2 not started")
                                      : QStringLiteral("stopped: 3 devices: 1 done, 0 differ, 1 failed, 0 "
                                                       "unknown, 1 not started")))
            << err;
        EXPECT_TRUE(err.contains(QStringLiteral("cannot write the journal %1: %2").arg(journal, reason)))
            << err;
        if (full)
            continue;
        QFile f(journal);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray kept = f.readAll();
        EXPECT_TRUE(kept.endsWith("\n") && kept.count('\n') == 1 &&
                    QJsonDocument::fromJson(kept).object().value(QStringLiteral("outcome")) ==
                        QStringLiteral("done"))
            << kept.constData();
    }
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists() &&
                !QFileInfo(QStringLiteral("/dev/full")).isFile());
}
