#include "viewer/TSystemGroupEditor.h"

#include "binding/TTextHexSwitch.h"
#include "errors/OvErrors.h"
#include "mib/OvMibViews.h"
#include "values/OvSyntaxText.h"

#include <QLineEdit>
#include <algorithm>

TSystemGroupEditor::TSystemGroupEditor(QWidget* owner) : OvSNMPRequest2Edits(owner) {
    VarList() = OvSNMPVarList(MibSystemWritable, SVT_SV, 0);
}

void TSystemGroupEditor::BeforeSet() {
    OvSNMPRequest2Edits::BeforeSet();
    for (int i = 0; i < VarList().Count(); ++i) {
        const OvSNMPVarItem& item = *VarList().Item(i);
        QByteArray octets;
        if (Request().Writes(i) && OvParseHex(item.Value, octets) && octets.size() > MaxOctets)
            throw OvException(
                OvCode::BadPartialValue,
                QStringLiteral("%1: %2 octets, at most %3").arg(item.Name).arg(octets.size()).arg(MaxOctets));
    }
}

void TSystemGroupEditor::AddSwitches() {
    for (const auto& entry : Entries()) {
        auto* edit =
            qobject_cast<QLineEdit*>(entry->Controls.empty() ? nullptr : entry->Controls.front().data());
        if (!edit)
            continue;
        edit->setObjectName(VarList().Item(entry->Index)->Name);
        QWidget* container = edit->parentWidget();
        auto* form = new TTextHexSwitch(edit, container);
        form->resize(form->sizeHint());
        // What stands right of the edit on its line makes room for the switch.
        const int right = edit->x() + edit->width();
        for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != form && w->x() >= right && w->y() < edit->y() + edit->height() &&
                edit->y() < w->y() + w->height())
                w->move(w->x() + form->width() + 4, w->y());
        form->move(right + 4, edit->y() + (edit->height() - form->height()) / 2);
        form->show();
        container->setMinimumWidth(std::max(container->minimumWidth(), form->x() + form->width() + 8));
    }
}
