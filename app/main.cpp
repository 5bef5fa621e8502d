#include "app/TConnectDialog.h"
#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "device/OvArtwork.h"
#include "errors/OvErrors.h"

#include <QApplication>
#include <QIcon>
#include <memory>

int main(int argc, char* argv[]) {
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
