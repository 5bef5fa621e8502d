#include "binding/TStatusPanel.h"

#include <QStatusBar>

TStatusPanel::TStatusPanel(QStatusBar* bar) : QLabel(bar) {
    // The panel takes the room the bar has; its text never asks for more.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setMinimumWidth(0);
    bar->addWidget(this, 1);
}
