#pragma once

#include "formgen/TFlowLayoutManger.h"
#include "formgen/TUIGenerator.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <memory>
#include <vector>

class QPlainTextEdit;
class QSplitter;
class TStaticText;
class OvSNMPRequest2Edits;

// Holds the generated controls; owns the generator, the flow layout and the adapter.
class TPanelContainer : public QWidget {
    Q_OBJECT
public:
    TPanelContainer(QWidget* owner, OvSNMPRequest2Edits* request, TUIItemInfo* table);
    ~TPanelContainer() override;

    std::unique_ptr<TUIGenerator> Generator;
    std::unique_ptr<TFlowLayoutManger> LayoutManager;
    std::unique_ptr<TSNMPLayoutAdapter> Adapter;

protected:
    // The wide values follow the container's width.
    void resizeEvent(QResizeEvent* event) override;
};

// The column of command buttons on the right of a window.
class TCtrlBtnPanel : public QWidget {
    Q_OBJECT
public:
    explicit TCtrlBtnPanel(QWidget* owner);

    void ArrangeButtons();
    void HideRefresh();
    void HideSet();
    void HideSetChecked();
    void HideAdd();
    void HideDelete();
    void HideSelectAll();
    void HideSelectNone();
    void HideSampleCount();
    void HideSamplesLabel();

    // The button bitmaps looked for in the current directory, in button order.
    static QStringList BitmapFiles();
    // Where the button pictures are read from (empty: the current folder).
    static QString PictureFolder;

    QList<QWidget*> Stacking; // what ArrangeButtons places, top to bottom
    QLabel* SamplesLabel;
    int LeftMargin = 10;
    int TopMargin = 10;
    TStaticText* SampleCount;
    QPushButton* RefreshButton;
    QPushButton* SetButton;
    QPushButton* SetCheckedButton;
    QPushButton* AddButton;
    QPushButton* DeleteButton;
    QPushButton* SelectAllButton;
    QPushButton* SelectNoneButton;
    QPushButton* CloseButton;

private:
    void Hide(QWidget* w);
    void LoadBitmaps();
};

// The log memo under the generated controls.
class TMsgPanel : public QWidget {
    Q_OBJECT
public:
    explicit TMsgPanel(QWidget* owner);
    QPlainTextEdit* Memo;
};

// A window's content: work area with the generated controls over the log memo, and the
// button column on the right.
class TSNMPPanel : public QWidget {
    Q_OBJECT
public:
    explicit TSNMPPanel(QWidget* owner);
    ~TSNMPPanel() override;

    void SetHostForm(QWidget* host) { Host = host; }
    void Close();

    TMsgPanel* MessagePanel;
    TCtrlBtnPanel* ButtonPanel;
    QWidget* WorkArea;
    TPanelContainer* Container = nullptr;
    QPointer<QWidget> Host;

protected:
    QSplitter* WorkSplitter;
};

class TSNMPEditorPanel : public TSNMPPanel {
    Q_OBJECT
public:
    explicit TSNMPEditorPanel(QWidget* owner);

    // Generates, binds and lays out the controls of a layout table for a request object.
    virtual void BuildEditor(TUIItemInfo* table, OvSNMPRequest2Edits* request);
    // Wires the buttons and the memo, hides the buttons no window of this module uses.
    void InitEditor();
    // The size the window needs to show every control whole and the button column.
    QSize RequiredSize() const;
    // The window's size at its opening: the design size, grown to show every control
    // whole, but no larger than the screen.
    QSize OpeningSize(QSize design) const;
};
