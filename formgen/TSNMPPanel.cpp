#include "formgen/TSNMPPanel.h"

#include "binding/TStaticText.h"
#include "binding/OvFeedback.h"
#include "binding/OvSNMPRequest2Edits.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

// ---- TPanelContainer -----------------------------------------------------------------------

TPanelContainer::TPanelContainer(QWidget* owner, OvSNMPRequest2Edits* request, TUIItemInfo* table)
    : QWidget(owner) {
    Generator = std::make_unique<TUIGenerator>(table, owner);
    LayoutManager = std::make_unique<TFlowLayoutManger>(owner, this, &Generator->Controls);
    Adapter = std::make_unique<TSNMPLayoutAdapter>(table, request);
}

TPanelContainer::~TPanelContainer() = default;

void TPanelContainer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutManager->FitWidth(width());
}

// ---- TCtrlBtnPanel ---------------------------------------------------------------------------

TCtrlBtnPanel::TCtrlBtnPanel(QWidget* owner) : QWidget(owner) {
    SampleCount = new TStaticText(this);
    SampleCount->setText(QStringLiteral("0"));
    SamplesLabel = new QLabel(QStringLiteral("Samples"), this);
    RefreshButton = new QPushButton(QStringLiteral("Refresh"), this);
    RefreshButton->resize(96, 25);
    for (QLabel* l : {static_cast<QLabel*>(SampleCount), SamplesLabel}) {
        l->resize(RefreshButton->width(), l->sizeHint().height());
        l->setAlignment(Qt::AlignCenter);
    }
    SetButton = new QPushButton(QStringLiteral("Set"), this);
    SetCheckedButton = new QPushButton(QStringLiteral("Set"), this);
    AddButton = new QPushButton(QStringLiteral("Add"), this);
    DeleteButton = new QPushButton(QStringLiteral("Delete"), this);
    SelectAllButton = new QPushButton(QStringLiteral("Select All"), this);
    SelectNoneButton = new QPushButton(QStringLiteral("Select None"), this);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    Stacking = {SampleCount, SamplesLabel, RefreshButton,   SetButton,        SetCheckedButton,
                AddButton,   DeleteButton, SelectAllButton, SelectNoneButton, CloseButton};
    for (QPushButton* b : {RefreshButton, SetButton, SetCheckedButton, AddButton, DeleteButton,
                           SelectAllButton, SelectNoneButton, CloseButton})
        b->resize(96, std::max(25, b->sizeHint().height()));
    // Named after their members, so that tests and tools find them.
    const std::pair<QPushButton*, const char*> names[] = {
        {RefreshButton, "RefreshButton"},       {SetButton, "SetButton"},
        {SetCheckedButton, "SetCheckedButton"}, {AddButton, "AddButton"},
        {DeleteButton, "DeleteButton"},         {SelectAllButton, "SelectAllButton"},
        {SelectNoneButton, "SelectNoneButton"}, {CloseButton, "CloseButton"}};
    for (const auto& [button, name] : names)
        button->setObjectName(QLatin1String(name));
    LoadBitmaps();
    LeftMargin = 10;
    TopMargin = 10;
    ArrangeButtons();
    setFixedWidth(2 * 10 + RefreshButton->width());
}

QString TCtrlBtnPanel::PictureFolder;

QStringList TCtrlBtnPanel::BitmapFiles() {
    return {QStringLiteral("Get.bmp"),        QStringLiteral("Set.bmp"),    QStringLiteral("SetCheck.bmp"),
            QStringLiteral("Add.bmp"),        QStringLiteral("Delete.bmp"), QStringLiteral("SelectAll.bmp"),
            QStringLiteral("SelectNone.bmp"), QStringLiteral("Close.bmp")};
}

void TCtrlBtnPanel::LoadBitmaps() {
    const QList<QPushButton*> buttons{RefreshButton, SetButton,       SetCheckedButton, AddButton,
                                      DeleteButton,  SelectAllButton, SelectNoneButton, CloseButton};
    const QStringList files = BitmapFiles();
    const QString dir = PictureFolder.isEmpty() ? QDir::currentPath() : PictureFolder;
    for (int i = 0; i < buttons.size(); ++i) {
        const QString path = dir + QDir::separator() + files[i];
        if (!QFileInfo::exists(path))
            continue;
        buttons[i]->setText(QString());
        const QPixmap glyph(path);
        if (glyph.isNull())
            return; // a file that cannot be loaded ends the loading; later buttons keep their captions
        buttons[i]->setIcon(QIcon(glyph));
        buttons[i]->setIconSize(glyph.size());
    }
}

void TCtrlBtnPanel::ArrangeButtons() {
    int y = TopMargin;
    for (QWidget* w : Stacking) {
        w->setGeometry(LeftMargin, y, 96, w->height());
        if (!w->isHidden())
            y = w->y() + w->height() + 5;
    }
    setMinimumHeight(y + TopMargin);
}

void TCtrlBtnPanel::Hide(QWidget* w) {
    w->hide();
    ArrangeButtons();
}

void TCtrlBtnPanel::HideRefresh() {
    Hide(RefreshButton);
}
void TCtrlBtnPanel::HideSet() {
    Hide(SetButton);
}
void TCtrlBtnPanel::HideSetChecked() {
    Hide(SetCheckedButton);
}
void TCtrlBtnPanel::HideAdd() {
    Hide(AddButton);
}
void TCtrlBtnPanel::HideDelete() {
    Hide(DeleteButton);
}
void TCtrlBtnPanel::HideSelectAll() {
    Hide(SelectAllButton);
}
void TCtrlBtnPanel::HideSelectNone() {
    Hide(SelectNoneButton);
}
void TCtrlBtnPanel::HideSampleCount() {
    Hide(SampleCount);
}
void TCtrlBtnPanel::HideSamplesLabel() {
    Hide(SamplesLabel);
}

// ---- TMsgPanel ---------------------------------------------------------------------------------

TMsgPanel::TMsgPanel(QWidget* owner) : QWidget(owner), Memo(new QPlainTextEdit(this)) {
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Memo);
    Memo->setReadOnly(true);
    resize(width(), 50);
}

// ---- TSNMPPanel ----------------------------------------------------------------------------------

TSNMPPanel::TSNMPPanel(QWidget* owner) : QWidget(owner) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* sideSplitter = new QSplitter(Qt::Horizontal, this);
    ButtonPanel = new TCtrlBtnPanel(this);
    WorkArea = new QWidget(this);
    sideSplitter->addWidget(WorkArea);
    sideSplitter->addWidget(ButtonPanel);
    sideSplitter->setStretchFactor(0, 1);
    sideSplitter->setStretchFactor(1, 0);
    row->addWidget(sideSplitter);

    auto* column = new QVBoxLayout(WorkArea);
    column->setContentsMargins(0, 0, 0, 0);
    WorkSplitter = new QSplitter(Qt::Vertical, WorkArea);
    WorkSplitter->setHandleWidth(5);
    MessagePanel = new TMsgPanel(WorkArea);
    column->addWidget(WorkSplitter);

    if (owner) {
        auto* fill = owner->layout() ? nullptr : new QVBoxLayout(owner);
        if (fill) {
            fill->setContentsMargins(0, 0, 0, 0);
            fill->addWidget(this);
        }
    }
    connect(ButtonPanel->CloseButton, &QPushButton::clicked, this, &TSNMPPanel::Close);
}

TSNMPPanel::~TSNMPPanel() = default;

void TSNMPPanel::Close() {
    if (!Host || !Host->close())
        OvFeedback::MessageBox(this, OvFeedback::ProgramFileName(),
                               QStringLiteral("Please initial close form"));
}

TSNMPEditorPanel::TSNMPEditorPanel(QWidget* owner) : TSNMPPanel(owner) {}

void TSNMPEditorPanel::BuildEditor(TUIItemInfo* table, OvSNMPRequest2Edits* request) {
    Container = new TPanelContainer(this, request, table);
    Container->LayoutManager->Layout();
    const bool fills = Container->layout() != nullptr; // a single memo or list view
    if (!fills)
        Container->setMinimumSize(Container->LayoutManager->NarrowestExtent());
    WorkSplitter->addWidget(Container);
    WorkSplitter->addWidget(MessagePanel);
    WorkSplitter->setStretchFactor(0, 1);
    WorkSplitter->setStretchFactor(1, 0);
    WorkSplitter->setSizes({400, 50});
}

void TSNMPEditorPanel::InitEditor() {
    TSNMPLayoutAdapter* adapter = Container->Adapter.get();
    connect(ButtonPanel->RefreshButton, &QPushButton::clicked, this, [adapter] { adapter->Refresh(); });
    connect(ButtonPanel->SetCheckedButton, &QPushButton::clicked, this, [adapter] { adapter->SetChecked(); });
    connect(ButtonPanel->SelectAllButton, &QPushButton::clicked, this, [adapter] { adapter->SelectAll(); });
    connect(ButtonPanel->SelectNoneButton, &QPushButton::clicked, this, [adapter] { adapter->SelectNone(); });
    ButtonPanel->SetButton->setEnabled(false);
    ButtonPanel->DeleteButton->setEnabled(false);
    adapter->Memo = MessagePanel->Memo;
    adapter->Request->SetLogTarget(MessagePanel->Memo);
    ButtonPanel->HideSampleCount();
    ButtonPanel->HideSamplesLabel();
    ButtonPanel->HideSet();
    ButtonPanel->HideAdd();
    ButtonPanel->HideDelete();
}

namespace {
// The window around the controls: the button column beside them, the log below.
QSize withButtonsAndLog(QSize content, const TCtrlBtnPanel* buttons) {
    return QSize(content.width() + buttons->width() + 12,
                 std::max(content.height() + 50 + 12, buttons->minimumHeight()));
}
} // namespace

QSize TSNMPEditorPanel::RequiredSize() const {
    const bool laidOut = Container && !Container->layout(); // a single memo or list fills it
    return withButtonsAndLog(laidOut ? Container->LayoutManager->Extent() : QSize(0, 0), ButtonPanel);
}

QSize TSNMPEditorPanel::OpeningSize(QSize design) const {
    // A window wider or taller than the screen would hide its buttons (scale 2 on a
    // 1920 x 1080 screen leaves 960 x 540): it opens as large as the screen allows.
    const QSize wanted = design.expandedTo(RequiredSize());
    return wanted.boundedTo(screen()->availableGeometry().size()).expandedTo(window()->minimumSizeHint());
}
