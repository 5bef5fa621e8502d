#pragma once

#include <QList>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <vector>

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
    // The area the placed controls cover at their whole width, margins included.
    QSize Extent() const;
    // The narrowest the controls can be: values wider than the usual width (the SSID's 32
    // octets) narrow down to it, and their text then scrolls.
    QSize NarrowestExtent() const;
    // Widens or narrows the wide values to fill the container's width, as far as they want.
    void FitWidth(int width);

    int ColumnsPerRow = 1;
    int VGap = 5;
    int HGap = 5;
    int LeftMargin = 20;
    int TopMargin = 20;
    int ValueWidth = 121;
    QList<QWidget*>* Controls;
    QPointer<QWidget> Container;

private:
    struct WideValue {
        QPointer<QWidget> Control;
        int Wanted; // the width that shows its longest value whole
    };
    std::vector<WideValue> WideValues;
    QSize ExtentWithWideValuesAt(const std::function<int(const WideValue&)>& width) const;
};
