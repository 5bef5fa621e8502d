#pragma once

#include "mib/OvCounterDeltas.h"
#include "mib/OvMibReader.h"

#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <QTimer>
#include <vector>

class OvSNMPRequest2Edits;
class QComboBox;
class QLabel;
class QProgressBar;
class QTreeWidget;
class QTreeWidgetItem;
class TSNMPEditorPanel;

// One MIB-II view of the agent: a table of rows read without waiting (counter views with
// their change and rate per refresh, refreshed on their own). The system group's view
// adds the editor the configuration windows use, with the writable objects to tick and set.
class TMibViewForm : public QMainWindow {
    Q_OBJECT
public:
    // The refresh intervals of counter views, in seconds.
    static constexpr int Intervals[] = {1, 5, 10};

    TMibViewForm(const OvMibView& view, const QString& addressText, const OvSNMPTarget& target,
                 QWidget* parent = nullptr);
    ~TMibViewForm() override;

    const OvMibView& View() const { return Reader.View(); }
    // The column titles and cells as shown.
    QStringList Titles() const;
    std::vector<QStringList> Rows() const;

    void Refresh();
    // Writes what the view shows to file; false (and a message shown) when it cannot.
    bool SaveCsv(const QString& file);

private:
    void BuildMenus();
    void BuildTable();
    void BuildEditor();
    void ChooseCsvFile();
    void SetInterval(int index);
    void ShowTitles(const QStringList& titles);
    void AddRows(const std::vector<OvMibRow>& rows);
    void ReadFinished(int code, const QString& message);
    void ShowStatus(const QString& text);
    bool IsCounterView() const;
    // Whether the system group's editor shows this object.
    bool IsEdited(const QString& name) const;

    OvMibReader Reader;
    OvCounterDeltas Deltas;
    QTimer RefreshTimer;
    QTreeWidget* Table = nullptr;
    QComboBox* IntervalBox = nullptr;
    QLabel* StatusText = nullptr;
    QProgressBar* Progress = nullptr;
    QHash<QString, QTreeWidgetItem*> ItemsByKey;
    QSet<QString> SeenThisRead;
    int FittedReads = 0;
    // The system group's editor.
    OvSNMPRequest2Edits* Binding = nullptr;
    TSNMPEditorPanel* Panel = nullptr;
    std::vector<TUIItemInfo> Layout;
};

// The window a viewer started without a known view opens: the nine views to choose from.
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
