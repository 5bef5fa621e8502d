#pragma once

#include <QList>
#include <QPointer>
#include <QSize>
#include <QWidget>

// Places generated controls: one line per variable, check box, label and value control
// side by side, labels in one column and value controls in one aligned column.
class TLayoutManger {
public:
    virtual ~TLayoutManger() = default;
};

class TFlowLayoutManger : public TLayoutManger {
public:
    TFlowLayoutManger(QWidget* owner, QWidget* container, QList<QWidget*>* controls);

    // Positions the controls; runs once per window.
    void Layout();
    // The area the placed controls cover, margins included.
    QSize Extent() const;

    int ColumnsPerRow = 1;
    int VGap = 5;
    int HGap = 5;
    int LeftMargin = 20;
    int TopMargin = 20;
    int ValueWidth = 121;
    QList<QWidget*>* Controls;
    QPointer<QWidget> Container;
};
