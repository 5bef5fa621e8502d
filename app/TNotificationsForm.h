#pragma once

#include <QTimer>
#include <QWidget>

class OvNotificationCentre;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTableWidget;

// The device's notifications, newest on top: time, source, version, type, name and
// bindings; the selected one's bindings in full below. Filter, Pause, Clear, CSV export
// and older logs. It reads nothing from the device; its title counts what arrived while
// it was not the active window.
class TNotificationsForm : public QWidget {
    Q_OBJECT
public:
    TNotificationsForm(QWidget* owner, OvNotificationCentre& centre, const QString& addressText);

    int UnseenCount() const { return Unseen; }
    // Saves the rows the filter shows as CSV; false (and a message) when it cannot.
    bool SaveCsv(const QString& fileName);
    // Shows the notifications of a log file instead of the current rows.
    void OpenLog(const QString& fileName);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    void ShowDetail();
    void RefreshStatus();
    void RefreshTitle();
    void Arrived(int count);
    void SaveCsvClick();
    void OpenLogClick();

    OvNotificationCentre& Centre;
    QString AddressText;
    int Unseen = 0;
    QLabel* ListenWarning;
    QLineEdit* FilterEdit;
    QPushButton* PauseButton;
    QSortFilterProxyModel* Filtered;
    QTableView* Table;
    QTableWidget* Detail;
    QLabel* StatusLine;
    QTimer StatusTimer; // a flood updates the status line a few times a second, not each time
};
