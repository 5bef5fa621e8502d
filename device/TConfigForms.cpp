#include "device/TConfigForms.h"

#include "binding/OvFeedback.h"
#include "catalogue/OvCatalogue.h"
#include "device/OvArtwork.h"

#include <QLabel>
#include <QMessageBox>

const TConfigWindowInfo StationWindow{ConfigGroups[0], 493, 471};
const TConfigWindowInfo APModeWindow{ConfigGroups[1], 530, 248};
const TConfigWindowInfo PrivacyWindow{ConfigGroups[2], 463, 322};
const TConfigWindowInfo MACOperationWindow{ConfigGroups[3], 502, 424};
const TConfigWindowInfo ManufacturerWindow{ConfigGroups[4], 487, 270};
const TConfigWindowInfo PHYOperationWindow{ConfigGroups[5], 486, 390};
const TConfigWindowInfo AntennaWindow{ConfigGroups[6], 446, 209};
const TConfigWindowInfo TxPowerWindow{ConfigGroups[7], 504, 423};
const TConfigWindowInfo DSSWindow{ConfigGroups[8], 550, 374};

TConfigForm::TConfigForm(QWidget* owner, const TConfigWindowInfo& info, const QString& windowTitle,
                         const QString& addressText)
    : QWidget(owner, Qt::Window), Info(info), WindowTitle(windowTitle), AddressText(addressText),
      Layout(OvCopyLayout(info.Group.Layout)) {}

TConfigForm::~TConfigForm() = default;

void TConfigForm::CreateEditor() {
    setWindowTitle(WindowTitle + QStringLiteral(" : ") + AddressText);
    Binding = new OvSNMPRequest2Edits(this);
    Binding->VarList() = OvSNMPVarList(Info.Group.Table, SVT_SV, 0);
    Panel = new TSNMPEditorPanel(this);
    Panel->BuildEditor(Layout.data(), Binding);
    Panel->InitEditor();
    if (Info.Group.ReadOnly) {
        Panel->ButtonPanel->HideSelectAll();
        Panel->ButtonPanel->HideSelectNone();
        Panel->ButtonPanel->HideSetChecked();
    }
    // The design size, grown where the labels need more room than it gives.
    resize(Panel->OpeningSize(QSize(Info.Width, Info.Height)));
}

void TConfigForm::FirstRead() {
    Panel->SetHostForm(this);
    Binding->GetOrLog();
}

void TConfigForm::FormCreate() {
    CreateEditor();
    FirstRead();
}

TAPModeConfigForm::TAPModeConfigForm(QWidget* owner, const QString& windowTitle, const QString& addressText)
    : TConfigForm(owner, APModeWindow, windowTitle, addressText) {
    FormCreate();
}

void TAPModeConfigForm::FormCreate() {
    CreateEditor();
    ModeBox = qobject_cast<QComboBox*>(Layout[0].Control);
    for (size_t i = 0; i < 3; ++i) {
        ParameterEdits[i] = qobject_cast<QLineEdit*>(Layout[i + 1].Control);
        ParameterChecks[i] = Layout[i + 1].CheckBox;
    }
    connect(ModeBox, &QComboBox::currentIndexChanged, this, &TAPModeConfigForm::CBChange);
    // The reads do not block: the rule runs when the mode arrives.
    auto first = std::make_shared<QMetaObject::Connection>();
    *first = connect(Binding, &OvSNMPRequest2Controls::GetFinished, this,
                     [this, first](int code, const QString& message) {
                         disconnect(*first);
                         if (code == 0) {
                             CBChange();
                             return;
                         }
                         // The window stays open, with every parameter row still enabled and ticked.
                         OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(), message, QMessageBox::Ok,
                                                QMessageBox::Critical);
                     });
    FirstRead();
}

void TAPModeConfigForm::CBChange() {
    for (size_t i = 0; i < 3; ++i) {
        ParameterEdits[i]->setEnabled(false);
        ParameterChecks[i]->setEnabled(false);
        ParameterChecks[i]->setChecked(false);
    }
    auto enable = [this](size_t i) {
        ParameterEdits[i]->setEnabled(true);
        ParameterChecks[i]->setEnabled(true);
        ParameterChecks[i]->setChecked(true);
    };
    switch (ModeBox->currentIndex()) {
    case 1: // wirelessBridge
    case 2: // wirelessAPClient
    case 5: // repeater
        enable(0);
        break;
    case 4: // backupAccessPoint
        enable(0);
        enable(1);
        break;
    case 6: // groupAccessPoint
        enable(2);
        break;
    default: // accessPoint, wirelessMultiBridge, none
        break;
    }
}

TAboutForm::TAboutForm(QWidget* owner) : QWidget(owner, Qt::Window | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("About"));
    auto* title = new QLabel(QStringLiteral("Orvanta Velmarn+ Management Module"), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPixelSize(12);
    title->setFont(bold);
    title->move(9, 14);
    title->adjustSize();
    auto* release = new QLabel(QStringLiteral("Release Version  1.0 2(Build 2003/2/14)"), this);
    release->move(10, 40);
    release->adjustSize();
    auto* notice = new QLabel(QStringLiteral("Velmarn+ SNMP manager"), this);
    notice->move(10, 64);
    notice->adjustSize();
    auto* icon = new QLabel(this);
    icon->setPixmap(OvProgramIcon());
    icon->setGeometry(220, 40, 41, 33);
    // The design client area; where this system's font makes the texts wider, the icon
    // moves right and the box grows instead of covering them.
    const int textRight = std::max(release->x() + release->width(), notice->x() + notice->width());
    icon->move(std::max(220, textRight + 10), 40);
    const int width = std::max({278, title->x() + title->width() + 9, icon->x() + icon->width() + 9});
    setFixedSize(width, std::max(95, notice->y() + notice->height() + 12));
}
