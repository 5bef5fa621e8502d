#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "device/OvArtwork.h"
#include "errors/OvErrors.h"

#include <QApplication>
#include <QIcon>
#include <memory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    app.setWindowIcon(QIcon(OvProgramIcon()));
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

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
