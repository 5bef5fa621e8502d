#pragma once

#include "binding/OvSNMPRequest2Edits.h"
#include "catalogue/OvCatalogue.h"
#include "formgen/TSNMPPanel.h"
#include "formgen/TUIGenerator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <array>
#include <vector>

// What distinguishes one configuration window from another: its group of the catalogue
// and its design size.
struct TConfigWindowInfo {
    const OvConfigGroup& Group;
    int Width;
    int Height;
};

// A configuration window generated from its descriptor and layout tables. Closing hides
// it; it lives until the main window goes.
class TConfigForm : public QWidget {
    Q_OBJECT
public:
    ~TConfigForm() override;

    OvSNMPRequest2Edits* Request() const { return Binding; }
    TSNMPEditorPanel* EditorPanel() const { return Panel; }
    const std::vector<TUIItemInfo>& LayoutRows() const { return Layout; }

protected:
    TConfigForm(QWidget* owner, const TConfigWindowInfo& info, const QString& windowTitle,
                const QString& addressText);
    // Caption, request object, variable list, editor panel, buttons: every step before the
    // first read.
    void CreateEditor();
    // The first read; its answer comes later.
    void FirstRead();
    // What every window does when it opens: build, then read.
    void FormCreate();

    const TConfigWindowInfo& Info;
    QString WindowTitle;
    QString AddressText;
    OvSNMPRequest2Edits* Binding = nullptr;
    TSNMPEditorPanel* Panel = nullptr;
    std::vector<TUIItemInfo> Layout; // this window's own copy of its layout table
};

// The design sizes of the windows.
extern const TConfigWindowInfo StationWindow, APModeWindow, PrivacyWindow, MACOperationWindow,
    ManufacturerWindow, PHYOperationWindow, AntennaWindow, TxPowerWindow, DSSWindow;

// A window that its group and design size alone set apart: built and read on creation.
template <const TConfigWindowInfo& Window> class TGroupConfigForm : public TConfigForm {
public:
    TGroupConfigForm(QWidget* owner, const QString& windowTitle, const QString& addressText)
        : TConfigForm(owner, Window, windowTitle, addressText) {
        FormCreate();
    }
};

class TStationConfigForm : public TGroupConfigForm<StationWindow> {
    using TGroupConfigForm::TGroupConfigForm;
};

class TAPModeConfigForm : public TConfigForm {
    Q_OBJECT
public:
    TAPModeConfigForm(QWidget* owner, const QString& windowTitle, const QString& addressText);
    // The rule first runs when the first read has brought the mode.
    void FormCreate();
    // Enables and ticks the parameter rows the selected mode uses.
    void CBChange();

    QComboBox* ModeBox = nullptr;
    std::array<QLineEdit*, 3> ParameterEdits{};
    std::array<QCheckBox*, 3> ParameterChecks{};
};

class TPrivacyConfigurationForm : public TGroupConfigForm<PrivacyWindow> {
    using TGroupConfigForm::TGroupConfigForm;
};

class TOperationForm : public TGroupConfigForm<MACOperationWindow> {
    using TGroupConfigForm::TGroupConfigForm;
};

class TManufactureForm : public TGroupConfigForm<ManufacturerWindow> {
    using TGroupConfigForm::TGroupConfigForm;
};

class TPhyOperationForm : public TGroupConfigForm<PHYOperationWindow> {
    using TGroupConfigForm::TGroupConfigForm;
};

class TAntennaForm : public TGroupConfigForm<AntennaWindow> {
    using TGroupConfigForm::TGroupConfigForm;
};

class TTxPowerForm : public TGroupConfigForm<TxPowerWindow> {
    using TGroupConfigForm::TGroupConfigForm;
};

class TDSSForm : public TGroupConfigForm<DSSWindow> {
    using TGroupConfigForm::TGroupConfigForm;
};

// The About box.
class TAboutForm : public QWidget {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* owner);
};
