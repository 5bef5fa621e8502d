#pragma once

#include "OvSNMPSession.h"

#include <QByteArray>
#include <QObject>
#include <QTemporaryDir>
#include <memory>

// The net-snmp side of the process-wide session: library set-up without reading or
// writing any of net-snmp's own configuration or persistent files, and delivery of
// asynchronous answers on the GUI thread.
class OvSnmpEngine : public QObject {
    Q_OBJECT
public:
    OvSnmpEngine();
    ~OvSnmpEngine() override;

    // Initialises the library once per process; false when no UDP socket can be had.
    bool Open();
    // Local engine ID and boots for SNMPv3.
    void InitSecurity(const QByteArray& engineId, quint32 boots);
    // The boots value the library uses for the local engine.
    static quint32 LibraryEngineBoots();
    // Receives what has arrived, retransmits and times out outstanding requests.
    void ProcessPendingEvents();

private:
    std::unique_ptr<QTemporaryDir> PrivateDir;
};
