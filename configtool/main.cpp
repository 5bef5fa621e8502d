// velmarn-config: backs up, compares, restores and clones access points' settings from
// the command line.
#include "catalogue/OvCatalogue.h"
#include "configtool/OvConfigDocument.h"
#include "configtool/OvConfigOptions.h"
#include "configtool/OvDeviceJob.h"
#include "configtool/OvFailedList.h"
#include "configtool/OvGitBackups.h"
#include "configtool/OvJobRunner.h"
#include "configtool/OvJournal.h"
#include "configtool/OvOpenFiles.h"
#include "configtool/OvOutcome.h"
#include "configtool/OvRestoreCheck.h"
#include "configtool/OvRunReport.h"
#include "configtool/OvStopSignals.h"
#include "errors/OvErrors.h"
#include "snmp/OvBootCounter.h"
#include "snmp/TSNMPSession.h"
#include "snmp/OvSNMPEngine.h"
#include "values/OvProcessStart.h"
#include "values/OvSaveFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

namespace {

void print(FILE* to, const QString& text) {
    OvPrintLine(to, text);
}

// The backup of each device's file, read before anything is sent. Raises OvUsageError.
std::map<QString, OvConfigDocument> loadDocuments(const OvConfigOptions& options) {
    std::map<QString, OvConfigDocument> documents; // by file name
    for (const QString& address : options.Addresses) {
        const QString file = options.FileFor(address);
        if (documents.count(file))
            continue;
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            throw OvUsageError(QStringLiteral("cannot read %1: %2").arg(file, f.errorString()));
        // A backup is under 20 kB: a huge file is refused before it costs memory and time.
        constexpr qint64 kMostBytes = 16 << 20;
        const QByteArray json = f.size() > kMostBytes ? QByteArray() : f.read(kMostBytes + 1);
        if (f.size() > kMostBytes || json.size() > kMostBytes)
            throw OvUsageError(file + QStringLiteral(": over 16 MB, not a backup"));
        OvConfigDocument d;
        QString error;
        if (!OvConfigDocument::FromJson(json, d, error))
            throw OvUsageError(file + QStringLiteral(": ") + error);
        if (options.Cmd == OvConfigOptions::Command::Restore) {
            if (!options.AllowOtherDevice && (d.Mac.isEmpty() || d.Product.isEmpty()))
                throw OvUsageError(file +
                                   QStringLiteral(": the backup does not name its device (MAC and product); "
                                                  "--allow-other-device restores it anyway"));
            // A value that does not fit is refused per device, once its value there is known:
            // one the device already holds needs no write.
            const OvRestoreCheck check = OvRestoreCheck::Of(d, options);
            if (!check.Skipped.isEmpty())
                print(stdout, QStringLiteral("%1: read-only, not written: %2")
                                  .arg(file, check.Skipped.join(QStringLiteral(", "))));
        }
        documents.emplace(file, std::move(d));
    }
    return documents;
}

// --only, --exclude and --ignore-identity that leave nothing to back up or to compare are
// a mistake in the command: a run would report "backed up 0 objects" or "the same".
void refuseEmptySelection(const OvConfigOptions& options,
                          const std::map<QString, OvConfigDocument>& documents) {
    if (options.Cmd == OvConfigOptions::Command::Backup) {
        for (int g = 0; g < ConfigGroupCount; ++g)
            for (int r = 0; ConfigGroups[g].Table[r].Oid; ++r) {
                const OvCatalogueEntry e = OvCatalogueEntry::At(g, r);
                if (e.KeptInBackups() &&
                    options.Selects(QLatin1String(ConfigGroups[g].Title), QLatin1String(e.Info->Name)))
                    return;
            }
        throw OvUsageError(
            QStringLiteral("--only, --exclude and --ignore-identity leave no object to back up"));
    }
    for (const auto& [file, d] : documents)
        if (std::none_of(d.Objects.begin(), d.Objects.end(), [&options](const OvConfigDocument::Object& o) {
                return options.Selects(o.Group, o.Name);
            }))
            throw OvUsageError(file +
                               QStringLiteral(": --only, --exclude and --ignore-identity leave none of its "
                                              "objects"));
}

// Backups and the list of failed devices go into folders that exist: found missing only
// after every device was read, each would fail after the work was done.
void refuseMissingFolders(const OvConfigOptions& options) {
    if (!options.FailedTo.isEmpty() && !QFileInfo(QFileInfo(options.FailedTo).absolutePath()).isDir())
        throw OvUsageError(
            QStringLiteral("no folder %1 for --failed-to").arg(QFileInfo(options.FailedTo).absolutePath()));
    if (options.Cmd != OvConfigOptions::Command::Backup || options.File.isEmpty())
        return;
    for (const QString& address : options.Addresses) {
        const QFileInfo folder(QFileInfo(options.FileFor(address)).absolutePath());
        if (!folder.isDir())
            throw OvUsageError(QStringLiteral("no folder %1 for the backups").arg(folder.filePath()));
    }
}

// A backup or --failed-to file that would be refused at the end (a link in /tmp of another
// user) is refused now, before the devices' work is done for nothing.
void refuseSharedLinks(const OvConfigOptions& options) {
    QStringList files{options.FailedTo};
    if (options.Cmd == OvConfigOptions::Command::Backup && !options.File.isEmpty())
        for (const QString& address : options.Addresses)
            files << options.FileFor(address);
    for (const QString& file : files)
        if (const QString refused = file.isEmpty() ? QString() : OvRefusedLink(file); !refused.isEmpty())
            throw OvUsageError(QStringLiteral("cannot write %1: %2").arg(file, refused));
}

// --failed-to: the devices that did not end 0, in their order; the run's status, 3 at
// least when the list cannot be written.
int writeFailedList(const OvConfigOptions& options, const OvRunReport& report, int status) {
    if (options.FailedTo.isEmpty())
        return status;
    std::vector<OvDeviceEntry> failed;
    for (const QString& address : options.Addresses)
        if (report.Failed(address))
            failed.push_back(options.Entries.at(address));
    QString error;
    if (OvFailedList::Write(options.FailedTo, failed, error))
        return status;
    print(stderr, QStringLiteral("velmarn-config: cannot write %1: %2").arg(options.FailedTo, error));
    return std::max(status, static_cast<int>(OvExit::DeviceError));
}

// --git: the backups written in the run, committed when one changed; the run's status, 3 at
// least when git refused the commit.
int commitBackups(const OvConfigOptions& options, OvGitBackups* git, const OvRunReport& report, int status) {
    if (!git)
        return status;
    for (const QString& address : options.Addresses)
        if (!report.Failed(address)) {
            const QString name = options.NameOf(address);
            git->Add(name.isEmpty() ? address : name, options.FileFor(address));
        }
    QString said;
    const bool committed = git->Commit(said);
    print(committed ? stdout : stderr, QStringLiteral("velmarn-config: ") + said);
    return committed ? status : std::max(status, static_cast<int>(OvExit::DeviceError));
}

// The folders of the backups, in a work tree that --git commits into.
std::unique_ptr<OvGitBackups> gitBackups(const OvConfigOptions& options) {
    if (!options.Git)
        return nullptr;
    QStringList folders;
    for (const QString& address : options.Addresses)
        folders << QFileInfo(options.FileFor(address)).absolutePath();
    return std::make_unique<OvGitBackups>(folders);
}

} // namespace

int main(int argc, char** argv) {
    OvStartProcess();
    const long fileLimit = OvOpenFiles::RaiseLimit();
    QCoreApplication app(argc, argv);
    OvConfigOptions options;
    std::map<QString, OvConfigDocument> documents;
    std::unique_ptr<OvJournal> journal;
    std::unique_ptr<OvGitBackups> git;
    try {
        options = OvConfigOptions::Parse(app.arguments().mid(1));
        if (options.Cmd == OvConfigOptions::Command::Help) {
            std::fputs(OvConfigOptions::Usage().toUtf8().constData(), stdout);
            return 0;
        }
        if (options.Cmd == OvConfigOptions::Command::Version) {
            std::fputs(OvConfigOptions::VersionText().toUtf8().constData(), stdout);
            return 0;
        }
        if (options.Cmd != OvConfigOptions::Command::Backup)
            documents = loadDocuments(options);
        refuseEmptySelection(options, documents);
        refuseMissingFolders(options);
        refuseSharedLinks(options);
        git = gitBackups(options);
        if (!options.Journal.isEmpty())
            journal = std::make_unique<OvJournal>(options.Journal, options.Names());
    } catch (const OvUsageError& e) {
        print(stderr, QStringLiteral("velmarn-config: ") + e.Message());
        print(stderr, QStringLiteral("Try 'velmarn-config --help'."));
        return OvExit::Usage;
    }

    try {
        // The module started from the menu counts its engine boots there too: one count
        // for the one engine ID, never a file in the folder of the backups. Only SNMPv3
        // uses them; without it the file is left alone.
        const bool v3 = options.UsesSnmpV3();
        TSNMPSession::Create(v3 ? OvBootCounter::StateFolder() : QString(), v3);
    } catch (const OvException& e) {
        print(stderr, QStringLiteral("velmarn-config: ") + e.message());
        return OvExit::DeviceError; // nothing was sent
    }

    TSNMPSession::Engine()->SetTiming(options.TimeoutMs, options.Retries);
    // More devices at once than sockets can be opened would fail those beyond the limit.
    if (const int fit = OvOpenFiles::DevicesWithin(fileLimit); options.Parallel > fit) {
        print(stderr, QStringLiteral("velmarn-config: --parallel %1 lowered to %2: open-file limit %3")
                          .arg(options.Parallel)
                          .arg(fit)
                          .arg(fileLimit));
        options.Parallel = fit;
    }

    // Then standard output carries JSON only; the devices' lines go to standard error.
    const bool jsonOnStdout =
        (options.Cmd == OvConfigOptions::Command::Backup && options.File.isEmpty()) || options.Json;
    OvRunReport report(options.Addresses.size() > 1, jsonOnStdout, journal.get());
    OvJobRunner runner(
        options.Addresses,
        [&options, &documents, &journal](const QString& address) {
            const auto doc = documents.find(options.FileFor(address));
            return std::make_unique<OvDeviceJob>(
                options, address, doc == documents.end() ? nullptr : &doc->second, journal.get());
        },
        options.Parallel, report);
    OvStopSignals stopSignals;
    QObject::connect(&stopSignals, &OvStopSignals::Stop, &runner, &OvJobRunner::Stop);
    const bool stopped = runner.Run();
    const int status = commitBackups(options, git.get(), report, OvExit::Done);
    return writeFailedList(options, report, std::max(status, report.Finish(stopped)));
}
