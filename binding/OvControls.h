#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>

class QAbstractItemView;
class QStatusBar;
class QVBoxLayout;

// A display-only text with a sunken border.
class TStaticText : public QLabel {
    Q_OBJECT
public:
    explicit TStaticText(QWidget* parent = nullptr);
};

// A group of exclusive radio buttons, one per item; ItemIndex -1 selects none.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    QStringList Items() const { return ItemTexts; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    QString SelectedText() const;

Q_SIGNALS:
    // The user clicked one of the buttons.
    void Clicked();

private:
    QStringList ItemTexts;
    QButtonGroup* Buttons;
    QVBoxLayout* Column;
};

// One panel of a status bar: a text that a binding can write its log line into.
class TStatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit TStatusPanel(QStatusBar* bar);
};

// Grid lines between the cells of a list view; selected rows keep the highlight colours
// (a style sheet for items would otherwise paint them over).
void OvShowGridLines(QAbstractItemView* view);
