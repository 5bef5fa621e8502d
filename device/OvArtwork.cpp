#include "device/OvArtwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// Three arcs over a mast: an access point sending.
void drawAccessPoint(QPainter& p, const QRectF& box, const QColor& colour) {
    p.setRenderHint(QPainter::Antialiasing);
    const qreal cx = box.center().x();
    const qreal base = box.bottom() - box.height() * 0.12;
    const qreal top = box.top() + box.height() * 0.45;
    QPen pen(colour, std::max<qreal>(1.5, box.width() / 14));
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(cx, top), QPointF(cx, base));
    p.drawLine(QPointF(cx - box.width() * 0.22, base), QPointF(cx + box.width() * 0.22, base));
    for (int i = 1; i <= 3; ++i) {
        const qreal r = box.width() * 0.13 * i;
        p.drawArc(QRectF(cx - r, top - r, 2 * r, 2 * r), 35 * 16, 110 * 16);
    }
}

} // namespace

QPixmap OvProgramIcon() {
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 84, 147));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    drawAccessPoint(p, QRectF(4, 3, 24, 27), Qt::white);
    return pix;
}

QPixmap OvBanner(qreal devicePixelRatio) {
    const qreal ratio = std::max<qreal>(1, devicePixelRatio);
    QPixmap pix(qRound(640 * ratio), qRound(104 * ratio));
    pix.setDevicePixelRatio(ratio); // drawn in the banner's own 640 x 104 units
    QPainter p(&pix);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 640, 104);
    sky.setColorAt(0, QColor(0, 52, 104));
    sky.setColorAt(1, QColor(0, 128, 176));
    p.fillRect(QRectF(0, 0, 640, 104), sky);
    drawAccessPoint(p, QRectF(24, 10, 80, 86), QColor(255, 255, 255, 230));
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(128, 14, 500, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmarn+"));
    QFont sub(QStringLiteral("Sans Serif"));
    sub.setPixelSize(15);
    p.setFont(sub);
    p.drawText(QRectF(130, 58, 500, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Orvanta wireless access point management"));
    return pix;
}
