#include "app/OvStartup.h"

#include "connect/TConnectDialog.h"
#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"

std::unique_ptr<TMainForm> OvStartMainWindow(const QStringList& arguments, TMainForm::StartedFrom start) {
    QString error;
    try {
        return std::make_unique<TMainForm>(arguments, start);
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
    while (ask.exec() == QDialog::Accepted) {
        if (auto form = OvStartMainWindow(ask.LaunchOptions(), TMainForm::StartedFrom::Menu))
            return form;
    }
    return nullptr;
}
