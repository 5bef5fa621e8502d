#include "charts/TCounterLegend.h"

#include "charts/TCounterChart.h"

#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

TCounterLegend::TCounterLegend(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("graphLegend"));
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIconSize(QSize(18, 8));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void TCounterLegend::ShowCounters(const std::vector<int>& counters, const QStringList& names) {
    clear();
    // As wide as the longest name of all: the graph keeps its width whatever is picked.
    int widest = 0;
    for (const QString& name : names)
        widest = std::max(widest, fontMetrics().horizontalAdvance(name));
    if (widest != NameWidth) {
        NameWidth = widest;
        updateGeometry();
    }
    for (int c : counters) {
        QPixmap stroke(iconSize());
        stroke.fill(Qt::transparent);
        QPainter p(&stroke);
        // Stroked as its curve: the pens' widths from the casing in.
        for (const QPen& pen : TCounterChart::CurvePens(c, palette().color(QPalette::Base))) {
            const int width = qRound(pen.widthF()) + 2;
            p.fillRect(QRect(0, (stroke.height() - width) / 2, stroke.width(), width), pen.color());
        }
        p.end();
        addItem(new QListWidgetItem(QIcon(stroke), c < names.size() ? names[c] : QString::number(c)));
    }
}

QSize TCounterLegend::sizeHint() const {
    return QSize(NameWidth + iconSize().width() + verticalScrollBar()->sizeHint().width() + 24,
                 QListWidget::sizeHint().height());
}
