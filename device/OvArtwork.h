#pragma once

#include <QPixmap>

// The module's pictures, drawn at run time: the 32 x 32 program icon and the 640 x 104
// banner of the main window.
QPixmap OvProgramIcon();
QPixmap OvBanner();
