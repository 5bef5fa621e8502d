#pragma once

#include "OvLaunchOptions.h"

#include <QMainWindow>
#include <QStringList>

// The module's permanent window. Its construction runs the start-up: the global SNMP
// session first, then the launch options, then the caption.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* DesignCaption = "Velmarn +";

    explicit TMainForm(const QStringList& arguments, QWidget* parent = nullptr);
    ~TMainForm() override;

    QString AddressText;
    QString ReadCommunityText;
    QString WriteCommunityText;
    QString LaunchTypeText;
    QString WindowTitle;

    // True when started without arguments: the program ends once the loop starts.
    bool EndsAtStart() const { return NoParameters; }

private:
    bool NoParameters = false;
};
