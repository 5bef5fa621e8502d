#include "app/OvStartup.h"

#include "connect/TConnectDialog.h"
#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"
#include "snmp/OvBootCounter.h"

#include <QDir>

std::unique_ptr<TMainForm> OvStartMainWindow(const QStringList& arguments) {
    QString error;
    try {
        return std::make_unique<TMainForm>(arguments);
    } catch (const OvException& e) {
        error = e.message();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    OvFeedback::MessageBox(nullptr, OvFeedback::ProgramFileName(), error, QMessageBox::Ok,
                           QMessageBox::Critical);
    return nullptr;
}

std::unique_ptr<TMainForm> OvStartFromMenu(TConnectDialog& ask) {
    // A menu entry starts programs in the home folder: the files go where they belong.
    QDir::setCurrent(OvBootCounter::StateFolder());
    while (ask.exec() == QDialog::Accepted) {
        if (auto form = OvStartMainWindow(ask.LaunchOptions()))
            return form;
    }
    return nullptr;
}
