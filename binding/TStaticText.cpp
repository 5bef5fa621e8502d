#include "binding/TStaticText.h"

TStaticText::TStaticText(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}
