#pragma once

#include <QByteArray>
#include <QComboBox>
#include <QPointer>

class QLineEdit;

// Beside an edit of an octet string: whether the edit shows the octets as text or as hex
// digit pairs. A value that is not plain text starts in hex; what is written is read in
// the form the switch shows, and switching converts the shown value, so that the octets
// the device holds round-trip exactly either way.
class TTextHexSwitch : public QComboBox {
    Q_OBJECT
public:
    enum Form { Text = 0, Hex = 1 };

    // A switch for edit, a child of parent (the edit's container).
    TTextHexSwitch(QLineEdit* edit, QWidget* parent);

    // The switch of an edit, or null.
    static TTextHexSwitch* Of(const QWidget* edit);

    Form Shown() const { return Current; }
    // Chooses the form octets read from the device are shown in, and their text in it.
    QString Present(const QByteArray& octets);
    // The octets the edit's text spells in the form shown; false when it spells none.
    bool Octets(const QString& text, QByteArray& octets) const;

private:
    // The user chose another form: the edit's value is converted, or the choice refused
    // (octets that are not plain text stay hex).
    void Switch(int form);

    void Show(Form form);

    QPointer<QLineEdit> Edit;
    Form Current = Text;
};
