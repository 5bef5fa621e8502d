#include "binding/OvFeedback.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>

namespace {
struct FeedbackState {
    bool testMode = false;
    QList<QMessageBox::StandardButton> answers;
    QList<OvFeedback::Shown> shown;
    int beeps = 0;
};
FeedbackState& fb() {
    static FeedbackState s;
    return s;
}

QMessageBox::StandardButton firstOf(QMessageBox::StandardButtons buttons) {
    for (int bit = 0; bit < 32; ++bit) {
        const auto b = static_cast<QMessageBox::StandardButton>(1u << bit);
        if (buttons.testFlag(b))
            return b;
    }
    return QMessageBox::Ok;
}
} // namespace

QMessageBox::StandardButton OvFeedback::MessageBox(QWidget* parent, const QString& caption,
                                                   const QString& text, QMessageBox::StandardButtons buttons,
                                                   QMessageBox::Icon icon) {
    FeedbackState& s = fb();
    if (s.testMode) {
        s.shown.append(Shown{caption, text});
        return s.answers.isEmpty() ? firstOf(buttons) : s.answers.takeFirst();
    }
    QMessageBox box(icon, caption, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void OvFeedback::Beep() {
    FeedbackState& s = fb();
    ++s.beeps;
    if (!s.testMode)
        QApplication::beep();
}

QString OvFeedback::ProgramFileName() {
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? QStringLiteral("velmarn") : QFileInfo(path).fileName();
}

void OvFeedback::SetTestMode(bool on) {
    FeedbackState& s = fb();
    s.testMode = on;
    s.answers.clear();
    s.shown.clear();
    s.beeps = 0;
}

void OvFeedback::SetNextAnswer(QMessageBox::StandardButton answer) {
    fb().answers.append(answer);
}

QList<OvFeedback::Shown> OvFeedback::TakeShown() {
    QList<Shown> out;
    out.swap(fb().shown);
    return out;
}

int OvFeedback::TakeBeeps() {
    const int n = fb().beeps;
    fb().beeps = 0;
    return n;
}
