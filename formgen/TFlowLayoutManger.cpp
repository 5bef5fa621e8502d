#include "formgen/TFlowLayoutManger.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

// The width that shows a combo box's longest label whole: the label in the box's own
// font plus what its style adds (frame, arrow). Not its size hint: that was measured
// once while the box was still empty, before the binding filled in the labels.
int widthForLabels(const QComboBox* combo) {
    const QFontMetrics metrics = combo->fontMetrics();
    int text = 0;
    for (int i = 0; i < combo->count(); ++i)
        text = std::max(text, metrics.horizontalAdvance(combo->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    return combo->style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(text, metrics.height()), combo)
        .width();
}

} // namespace

TFlowLayoutManger::TFlowLayoutManger(QWidget* owner, QWidget* container, QList<QWidget*>* controls)
    : Controls(controls), Container(container) {
    for (QWidget* w : *Controls)
        w->setParent(owner);
}

void TFlowLayoutManger::Layout() {
    for (QWidget* w : *Controls) {
        w->setParent(Container);
        w->show();
    }
    if (Controls->size() == 1 &&
        (qobject_cast<QTreeWidget*>(Controls->front()) || qobject_cast<QPlainTextEdit*>(Controls->front()))) {
        // A single memo or list view fills the container.
        auto* fill = new QVBoxLayout(Container);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(Controls->front());
        return;
    }
    std::vector<QWidget*> checks, labels, values;
    for (int j = 0; j < Controls->size(); ++j) {
        QWidget* w = (*Controls)[j];
        (j % 3 == 0 ? checks : j % 3 == 1 ? labels : values).push_back(w);
    }
    for (QWidget* v : values) {
        // A combo box is never narrower than its longest label, an edit than its value needs.
        const auto* combo = qobject_cast<QComboBox*>(v);
        const int wanted = combo ? widthForLabels(combo) : v->minimumWidth();
        v->resize(std::max(ValueWidth, wanted), v->height());
        if (!combo && wanted > ValueWidth) {
            WideValues.push_back({v, wanted});
            v->setMinimumWidth(ValueWidth);
        }
    }
    const size_t lines = std::min({checks.size(), labels.size(), values.size()});
    const int columns = std::max(1, ColumnsPerRow);
    std::vector<int> labelWidth(static_cast<size_t>(columns), 0);
    std::vector<int> valueWidth(static_cast<size_t>(columns), 0);
    for (size_t l = 0; l < lines; ++l) {
        const size_t k = l % static_cast<size_t>(columns);
        labelWidth[k] = std::max(labelWidth[k], labels[l]->width());
        valueWidth[k] = std::max(valueWidth[k], values[l]->width());
    }
    int x = LeftMargin;
    int y = TopMargin;
    size_t k = 0;
    int checkTop = 0;
    int labelTop = 0;
    for (size_t l = 0; l < lines; ++l) {
        QWidget* c = checks[l];
        QWidget* lab = labels[l];
        QWidget* v = values[l];
        if (l % static_cast<size_t>(columns) == 0) {
            x = LeftMargin;
            k = 0;
            if (l > 0) {
                if (v->height() < 20)
                    v->resize(v->width(), 21);
                y = y + v->height() + VGap;
            }
            // Integer halves truncated toward zero, as the line's controls are centred.
            checkTop = y + (v->height() - c->height()) / 2;
            labelTop = y + (v->height() - lab->height()) / 2;
        }
        v->move(v->x(), y);
        c->move(x, checkTop);
        lab->move(c->x() + c->width() + HGap, labelTop);
        v->move(lab->x() + labelWidth[k] + HGap, y);
        x = v->x() + valueWidth[k] + HGap;
        ++k;
    }
}

QSize TFlowLayoutManger::Extent() const {
    return ExtentWithWideValuesAt([](const WideValue& v) { return v.Wanted; });
}

QSize TFlowLayoutManger::NarrowestExtent() const {
    return ExtentWithWideValuesAt([this](const WideValue&) { return ValueWidth; });
}

QSize TFlowLayoutManger::ExtentWithWideValuesAt(const std::function<int(const WideValue&)>& width) const {
    int right = 0;
    int bottom = 0;
    for (QWidget* w : *Controls) {
        const auto wide = std::find_if(WideValues.begin(), WideValues.end(),
                                       [w](const WideValue& v) { return v.Control == w; });
        right = std::max(right, w->x() + (wide != WideValues.end() ? width(*wide) : w->width()));
        bottom = std::max(bottom, w->y() + w->height());
    }
    return QSize(right + LeftMargin, bottom + TopMargin);
}

void TFlowLayoutManger::FitWidth(int width) {
    for (const WideValue& v : WideValues)
        if (v.Control)
            v.Control->resize(std::clamp(width - LeftMargin - v.Control->x(), ValueWidth, v.Wanted),
                              v.Control->height());
}
