#include "binding/TTextHexSwitch.h"

#include "values/OvSyntaxText.h"

#include <QLineEdit>
#include <QToolTip>

namespace {
const char* const SwitchProperty = "textHexSwitch";
}

TTextHexSwitch::TTextHexSwitch(QLineEdit* edit, QWidget* parent) : QComboBox(parent), Edit(edit) {
    setObjectName(edit->objectName() + QStringLiteral("Form"));
    addItem(QStringLiteral("Text"));
    addItem(QStringLiteral("Hex"));
    setToolTip(QStringLiteral("Shows and takes the value as text or as hex octets (\"FF FE 61\")"));
    edit->setProperty(SwitchProperty, QVariant::fromValue<QObject*>(this));
    connect(this, &QComboBox::activated, this, &TTextHexSwitch::Switch);
}

TTextHexSwitch* TTextHexSwitch::Of(const QWidget* edit) {
    return edit ? qobject_cast<TTextHexSwitch*>(edit->property(SwitchProperty).value<QObject*>()) : nullptr;
}

QString TTextHexSwitch::Present(const QByteArray& octets) {
    QString text;
    const bool plain = OvPlainText(octets, text);
    Show(plain ? Text : Hex);
    return plain ? text : OvHexText(octets);
}

bool TTextHexSwitch::Octets(const QString& text, QByteArray& octets) const {
    if (Shown() == Hex)
        return OvParseHex(text, octets);
    octets = text.toUtf8();
    return true;
}

void TTextHexSwitch::Show(Form form) {
    Current = form;
    setCurrentIndex(form);
}

void TTextHexSwitch::Switch(int form) {
    if (!Edit || form == Current)
        return;
    if (form == Hex) {
        Edit->setText(OvHexText(Edit->text().toUtf8()));
        Show(Hex);
        return;
    }
    QByteArray octets;
    QString text;
    const bool octetsRead = OvParseHex(Edit->text(), octets);
    if (!octetsRead || !OvPlainText(octets, text)) {
        Show(Hex);
        QToolTip::showText(mapToGlobal(rect().bottomLeft()),
                           octetsRead
                               ? QStringLiteral("These octets are not plain text: they stay hex.")
                               : QStringLiteral("This is not hex octets (\"FF FE 61\"): it stays hex."),
                           this);
        return;
    }
    Edit->setText(text);
    Show(Text);
}
