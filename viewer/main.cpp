// MIB: the MIB-II views of one agent. Started by the module's "MIB II" menu as
//   MIB /I<address> /R<read> /W<write> /T<view>
// with the rest of its settings in the environment, or by hand with any launch option.
// /O<file> reads the view once, writes it as CSV ("-": standard output) and ends,
// without a display. "--connect" (the menu entry) asks for the device first.

#include "binding/OvFeedback.h"
#include "connect/TConnectDialog.h"
#include "device/OvArtwork.h"
#include "errors/OvErrors.h"
#include "launch/OvInfoRequest.h"
#include "launch/OvLaunchOptions.h"
#include "launch/OvViewerEnvironment.h"
#include "mib/OvMibExport.h"
#include "viewer/OvViewerCommandLine.h"
#include "viewer/TMibViewForm.h"
#include "snmp/OvBootCounter.h"
#include "snmp/TSNMPSession.h"
#include "values/OvProcessStart.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

struct ViewerRequest {
    OvSNMPTarget Target;
    TLaunchTexts Texts;
};

// Takes the /O arguments out before the launch options are read (a path such as
// "/tmp/x.csv" would otherwise read as "/t"); the last one's file, or none without /O.
std::optional<QString> takeOutputFile(QStringList& arguments) {
    std::optional<QString> file;
    for (auto it = arguments.begin(); it != arguments.end();) {
        if (it->startsWith(QStringLiteral("/O"))) {
            file = it->mid(2);
            it = arguments.erase(it);
        } else {
            ++it;
        }
    }
    return file;
}

// The environment first, the command line over it. The session's default target becomes
// the viewer's: the system group's editor binds through it.
ViewerRequest readRequest(const QStringList& arguments) {
    ViewerRequest request;
    request.Target = TSNMPSession::DefaultTarget();
    const QString letters =
        OvApplyViewerEnvironment(QProcessEnvironment::systemEnvironment(), request.Target, request.Texts);
    OvParseLaunchOptions(OvWithoutEmptyOptions(arguments, letters), request.Target, request.Texts);
    TSNMPSession::DefaultTarget() = request.Target;
    return request;
}

QString viewNames() {
    QStringList names;
    for (int i = 0; i < MibViewCount; ++i)
        names << QLatin1String(OvMibViewAt(i).Name);
    return names.join(QStringLiteral(", "));
}

int exportView(int argc, char* argv[], const QStringList& arguments, const QString& outputFile) {
    QCoreApplication app(argc, argv);
    try {
        if (outputFile.isEmpty())
            throw OvException(OvCode::BadFormatSpecifier,
                              QStringLiteral("/O needs a file name (\"-\" for standard output)."));
        TSNMPSession::Create(QString());
        const ViewerRequest request = readRequest(arguments);
        const OvMibView* view = OvFindMibView(request.Texts.LaunchTypeText);
        if (!view)
            throw OvException(OvCode::BadFormatSpecifier,
                              QStringLiteral("Unknown view \"%1\"; the views are %2.")
                                  .arg(request.Texts.LaunchTypeText, viewNames()));
        OvMibExport job(*view, request.Target, outputFile);
        // Queued: a read that fails before sending ends inside Start(), before the loop
        // runs, and an exit asked for then would be lost.
        QObject::connect(
            &job, &OvMibExport::Done, &app,
            [&job](int status) {
                if (status != 0)
                    std::fprintf(stderr, "%s\n", job.Message().toLocal8Bit().constData());
                QCoreApplication::exit(status);
            },
            Qt::QueuedConnection);
        job.Start();
        return app.exec();
    } catch (const OvException& e) {
        std::fprintf(stderr, "%s\n", e.message().toLocal8Bit().constData());
        return 1;
    }
}

// Opens the view /T names, else the list of views; each window deletes itself on close.
void openView(const QStringList& arguments) {
    TSNMPSession::Create(QString());
    const ViewerRequest request = readRequest(arguments);
    if (const OvMibView* view = OvFindMibView(request.Texts.LaunchTypeText)) {
        auto* form = new TMibViewForm(*view, request.Texts.AddressText, request.Target);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
    } else {
        (new TMibChooser(request.Texts.AddressText, request.Target))->show();
    }
}

// The start from the desktop menu: the module's connect dialog, with the module's recent
// devices, in the state folder where the engine-boots file is.
std::unique_ptr<TConnectDialog> menuDialog(const QStringList& given) {
    QCoreApplication::setOrganizationName(QStringLiteral("velmarn"));
    QCoreApplication::setApplicationName(QStringLiteral("velmarn"));
    QDir::setCurrent(OvBootCounter::StateFolder());
    auto ask = std::make_unique<TConnectDialog>();
    ask->setWindowTitle(QStringLiteral("Velmarn+ MIB Viewer : Connect"));
    ask->HideNotificationFields();
    ask->Preset(given);
    return ask;
}

int showView(int argc, char* argv[], QStringList arguments) {
    QApplication app(argc, argv);
    app.setWindowIcon(QIcon(OvProgramIcon()));
    std::unique_ptr<TConnectDialog> ask;
    if (arguments.removeAll(QStringLiteral("--connect")) > 0)
        ask = menuDialog(arguments);
    const QStringList view = arguments.filter(QStringLiteral("/T"));
    for (;;) {
        if (ask && ask->exec() != QDialog::Accepted)
            return 0;
        try {
            openView(ask ? ask->LaunchOptions() + view : arguments);
            break;
        } catch (const OvException& e) {
            OvFeedback::MessageBox(nullptr, OvFeedback::ProgramFileName(), e.message(), QMessageBox::Ok,
                                   QMessageBox::Critical);
            if (!ask)
                return 1; // from the menu the dialog comes back instead
        }
    }
    ask.reset();
    return app.exec();
}

} // namespace

int main(int argc, char* argv[]) {
    OvStartProcess();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Answered before anything else: no display, no session, no engine-boots file.
    if (OvPrintInfoRequested(arguments, OvViewerHelpText(), OvViewerVersionText()))
        return 0;
    const std::optional<QString> outputFile = takeOutputFile(arguments);
    return outputFile ? exportView(argc, argv, arguments, *outputFile) : showView(argc, argv, arguments);
}
