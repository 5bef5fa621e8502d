#pragma once

#include "mib/OvMibReader.h"
#include "mib/OvMibTableModel.h"
#include "mib/OvRowShapers.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <vector>

class OvSNMPRequest2Edits;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeView;
class TInterfaceGraph;
class TSNMPEditorPanel;

// One MIB-II view of the agent: the rows of a model read without waiting, shown in a tree
// view that can be sorted by any column, filtered, copied and have columns hidden (all
// remembered per view). A refresh updates the rows in place. Counter views add changes and
// rates per refresh and refresh on their own; the interface counters draw the bit rates of
// the rows selected in a graph below them. The system group's view adds the editor the
// configuration windows use, with the writable objects to tick and set.
class TMibViewForm : public QMainWindow {
    Q_OBJECT
public:
    // The refresh intervals of counter views, in seconds.
    static constexpr int Intervals[] = {1, 5, 10};
    // Rows read are shown in one step each time: every ShowEveryMs, and with longer
    // tables every Count() / RowsPerShowMs milliseconds, up to ShowAtLeastMs.
    static constexpr int ShowEveryMs = 300;
    static constexpr int RowsPerShowMs = 25;
    static constexpr int ShowAtLeastMs = 2000;
    // The width of the system group's edits.
    static constexpr int EditWidth = 320;

    TMibViewForm(const OvMibView& view, const QString& addressText, const OvSNMPTarget& target,
                 QWidget* parent = nullptr);
    ~TMibViewForm() override;

    const OvMibView& View() const { return Reader.View(); }
    // The column titles and the rows as saved: every column, in the order read.
    QStringList Titles() const;
    std::vector<QStringList> Rows() const;
    const OvMibTableModel& Model() const { return RowModel; }
    bool IsReading() const { return Reader.IsReading(); }

    void Refresh();
    // Writes what the view shows to file; false (and a message shown) when it cannot.
    bool SaveCsv(const QString& file);
    // Puts the selected rows on the clipboard: the shown columns' titles, then one line
    // per row, tab-separated.
    void CopySelection();

Q_SIGNALS:
    // A read has ended and its rows are shown.
    void ReadDone(int code);

private:
    void BuildMenus();
    void BuildTable();
    void BuildToolBar();
    void BuildEditor();
    void BuildGraph();
    void ShowSelectedInterfaces();
    void WidenEdits();
    void ChooseCsvFile();
    void SetInterval(int index);
    void ShowTitles(const QStringList& titles);
    void AddRows(const std::vector<OvMibRow>& rows);
    void ShowPending();
    // Fits the columns to the rows in sight and rowsLookedAt more.
    void FitColumns(int rowsLookedAt);
    void ReadFinished(int code, const QString& message);
    void ShowStatus(const QString& text);
    QString CountText() const;
    bool Refreshes() const;
    // Whether the system group's editor shows this object.
    bool IsEdited(const QString& name) const;
    // The column chooser and the settings remembered per view.
    void BuildColumnMenu();
    void RestoreSettings();
    void SaveSettings() const;

    OvMibReader Reader;
    OvMibTableModel RowModel;
    OvMibSortFilter Order;
    std::unique_ptr<OvRowShaper> Shaper; // null: rows shown as read
    const QString AddressText;
    const OvSNMPTarget Target;
    std::vector<OvMibRow> Pending; // read, not yet shown
    QTimer ShowTimer;
    QTimer RefreshTimer;
    QElapsedTimer SinceFit;
    QTreeView* Tree = nullptr;
    QLineEdit* FilterEdit = nullptr;
    QMenu* ColumnMenu = nullptr;
    QComboBox* IntervalBox = nullptr;
    QLabel* StatusText = nullptr;
    bool Reading = false; // a read the status line tells of
    int FittedReads = 0;
    bool Restoring = false;
    // The system group's editor.
    OvSNMPRequest2Edits* Binding = nullptr;
    TSNMPEditorPanel* Panel = nullptr;
    std::vector<TUIItemInfo> Layout;
    // The interface counters' graph.
    TInterfaceGraph* Graph = nullptr;
};

// The window a viewer started without a known view opens: the views to choose from.
class TMibChooser : public QWidget {
    Q_OBJECT
public:
    TMibChooser(const QString& addressText, const OvSNMPTarget& target, QWidget* parent = nullptr);

    // Opens view i in its own window and closes the chooser.
    TMibViewForm* Open(int i);

private:
    QString AddressText;
    OvSNMPTarget Target;
};
