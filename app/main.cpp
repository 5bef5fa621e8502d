#include "app/OvCommandLineHelp.h"
#include "app/OvStartup.h"
#include "connect/TConnectDialog.h"
#include "app/TMainForm.h"
#include "device/OvArtwork.h"
#include "values/OvProcessStart.h"

#include <QApplication>
#include <QIcon>
#include <memory>

int main(int argc, char* argv[]) {
    OvStartProcess();
    // Answered before anything else: no display, no session, no engine-boots file.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    if (OvPrintInfoRequested(given, OvHelpText(), OvVersionText()))
        return 0;

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("velmarn"));
    QCoreApplication::setApplicationName(QStringLiteral("velmarn"));
    app.setWindowIcon(QIcon(OvProgramIcon()));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    std::unique_ptr<TMainForm> mainForm;
    if (arguments.removeAll(QStringLiteral("--connect")) > 0) {
        // Started from the desktop menu: ask what a host program would have said, starting
        // from the options given with it.
        TConnectDialog ask;
        ask.Preset(arguments);
        mainForm = OvStartFromMenu(ask);
    } else {
        mainForm = OvStartMainWindow(arguments);
    }
    if (!mainForm)
        return 0;
    mainForm->show();
    app.exec();
    return 0;
}
