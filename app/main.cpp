#include "app/OvCommandLineHelp.h"
#include "app/TConnectDialog.h"
#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "device/OvArtwork.h"
#include "errors/OvErrors.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[]) {
    // Answered before anything else: no display, no session, no engine-boots file.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    switch (OvInfoRequested(given)) {
    case OvInfoRequest::Help:
        std::fputs(OvHelpText().toLocal8Bit().constData(), stdout);
        return 0;
    case OvInfoRequest::Version:
        std::fputs(OvVersionText().toLocal8Bit().constData(), stdout);
        return 0;
    case OvInfoRequest::None:
        break;
    }

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("velmarn"));
    QCoreApplication::setApplicationName(QStringLiteral("velmarn"));
    app.setWindowIcon(QIcon(OvProgramIcon()));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments == QStringList{QStringLiteral("--connect")}) {
        // Started from the desktop menu: ask what a host program would have said.
        TConnectDialog ask;
        if (ask.exec() != QDialog::Accepted)
            return 0;
        arguments = ask.LaunchOptions();
    }

    std::unique_ptr<TMainForm> mainForm;
    try {
        mainForm = std::make_unique<TMainForm>(arguments);
    } catch (const OvException& e) {
        OvFeedback::MessageBox(nullptr, OvFeedback::ProgramFileName(), e.message(), QMessageBox::Ok,
                               QMessageBox::Critical);
        return 0;
    } catch (const std::exception& e) {
        OvFeedback::MessageBox(nullptr, OvFeedback::ProgramFileName(), QString::fromLocal8Bit(e.what()),
                               QMessageBox::Ok, QMessageBox::Critical);
        return 0;
    }
    mainForm->show();
    app.exec();
    return 0;
}
