#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

// Message boxes and beeps of the module go through here, so that a test can answer
// them without a window and count what was shown (next-answer pattern).
class OvFeedback {
public:
    struct Shown {
        QString Caption;
        QString Text;
    };

    // Shows a modal box; in test mode records it and returns the next queued answer
    // (or the first of the offered buttons when none is queued).
    static QMessageBox::StandardButton MessageBox(QWidget* parent, const QString& caption,
                                                  const QString& text,
                                                  QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                  QMessageBox::Icon icon = QMessageBox::NoIcon);

    // The short 1000 Hz / 200 ms beep of a rejected keystroke.
    static void Beep();

    // The program's file name without directory: the caption of the module's boxes.
    static QString ProgramFileName();

    // Test hooks.
    static void SetTestMode(bool on);
    static void SetNextAnswer(QMessageBox::StandardButton answer);
    static QList<Shown> TakeShown();
    static int TakeBeeps();
};
