// velmarn-config: backs up, compares, restores and clones access points' settings from
// the command line.
#include "configtool/OvConfigDocument.h"
#include "configtool/OvConfigOptions.h"
#include "configtool/OvDeviceJob.h"
#include "errors/OvErrors.h"
#include "snmp/OvBootCounter.h"
#include "snmp/OvSNMPSession.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <map>
#include <memory>

namespace {

void print(FILE* to, const QString& text) {
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

// The backup of each device's file, read and (for a restore) checked before anything is
// sent. Raises OvUsageError.
std::map<QString, OvConfigDocument> loadDocuments(const OvConfigOptions& options) {
    std::map<QString, OvConfigDocument> documents; // by file name
    for (const QString& address : options.Addresses) {
        const QString file = options.FileFor(address);
        if (documents.count(file))
            continue;
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            throw OvUsageError(QStringLiteral("cannot read %1: %2").arg(file, f.errorString()));
        OvConfigDocument d;
        QString error;
        if (!OvConfigDocument::FromJson(f.readAll(), d, error))
            throw OvUsageError(file + QStringLiteral(": ") + error);
        if (options.Cmd == OvConfigOptions::Command::Restore) {
            const OvRestoreCheck check = OvRestoreCheck::Of(d);
            if (!check.Ok())
                throw OvUsageError(file + QStringLiteral(": nothing was sent; these values do not fit:\n  ") +
                                   check.Errors.join(QStringLiteral("\n  ")));
            if (!check.Skipped.isEmpty())
                print(stdout, QStringLiteral("%1: read-only, not written: %2")
                                  .arg(file, check.Skipped.join(QStringLiteral(", "))));
        }
        documents.emplace(file, std::move(d));
    }
    return documents;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    OvConfigOptions options;
    std::map<QString, OvConfigDocument> documents;
    try {
        options = OvConfigOptions::Parse(app.arguments().mid(1));
        if (options.Cmd == OvConfigOptions::Command::Help) {
            std::fputs(OvConfigOptions::Usage().toUtf8().constData(), stdout);
            return 0;
        }
        if (options.Cmd != OvConfigOptions::Command::Backup)
            documents = loadDocuments(options);
    } catch (const OvUsageError& e) {
        print(stderr, QStringLiteral("velmarn-config: ") + e.Message());
        print(stderr, QStringLiteral("Try 'velmarn-config --help'."));
        return 2;
    }

    try {
        // The module started from the menu counts its engine boots there too: one count
        // for the one engine ID, never a file in the folder of the backups.
        TSNMPSession::Create(OvBootCounter::StateFolder());
    } catch (const OvException& e) {
        print(stderr, QStringLiteral("velmarn-config: ") + e.message());
        return 1;
    }

    std::vector<std::unique_ptr<OvDeviceJob>> owned;
    std::vector<OvDeviceJob*> jobs;
    for (const QString& address : options.Addresses) {
        const auto doc = documents.find(options.FileFor(address));
        owned.push_back(
            std::make_unique<OvDeviceJob>(options, address, doc == documents.end() ? nullptr : &doc->second));
        jobs.push_back(owned.back().get());
    }
    OvJobRunner runner(jobs, options.Parallel);
    const int status = runner.Run();

    const bool several = jobs.size() > 1;
    const bool jsonOnStdout = options.Cmd == OvConfigOptions::Command::Backup && options.File.isEmpty();
    for (OvDeviceJob* job : jobs) {
        const QString prefix = several ? job->Address + QStringLiteral(": ") : QString();
        for (const QString& line : job->Lines)
            print(stdout, jsonOnStdout ? line : prefix + line);
        print(jsonOnStdout || job->ExitCode != 0 ? stderr : stdout,
              job->Address + QStringLiteral(": ") + job->Summary);
    }
    return status;
}
