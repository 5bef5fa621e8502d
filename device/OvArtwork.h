#pragma once

#include <QPixmap>

// The module's pictures, drawn at run time: the 32 x 32 program icon and the 640 x 104
// banner of the main window. The banner is drawn for a screen's device pixel ratio, so
// that it stays sharp on a scaled screen (QT_SCALE_FACTOR=2: 1280 x 208 pixels).
QPixmap OvProgramIcon();
QPixmap OvBanner(qreal devicePixelRatio = 1);
