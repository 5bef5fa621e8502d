#include "app/TBanner.h"

#include "device/OvArtwork.h"

#include <QPainter>

TBanner::TBanner(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Banner"));
    setFixedSize(640, 104);
}

void TBanner::paintEvent(QPaintEvent*) {
    if (Drawn.isNull() || Drawn.devicePixelRatio() != devicePixelRatioF())
        Drawn = OvBanner(devicePixelRatioF()); // a window moved to another screen
    QPainter(this).drawPixmap(0, 0, Drawn);
}
