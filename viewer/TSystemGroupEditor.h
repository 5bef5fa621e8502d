#pragma once

#include "binding/OvSNMPRequest2Edits.h"

// The system group's writable objects (sysContact, sysName, sysLocation) in the
// Information view: octet strings, each edit with a Text/Hex switch, and a write refused
// before it is sent when a value is longer than a DisplayString may be.
class TSystemGroupEditor : public OvSNMPRequest2Edits {
    Q_OBJECT
public:
    // A DisplayString holds 0..255 octets.
    static constexpr int MaxOctets = 255;

    explicit TSystemGroupEditor(QWidget* owner);

    void BeforeSet() override;
    // Gives each bound edit its switch, right of it, within the edit's old width.
    void AddSwitches();
};
