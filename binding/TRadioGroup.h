#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QStringList>

class QVBoxLayout;

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
