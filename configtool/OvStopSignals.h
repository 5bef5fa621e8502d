#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

// SIGTERM and SIGINT (Ctrl+C) delivered as a Qt signal on the event loop (through a pipe
// the handler writes to), so that a stopped run can still report what it did.
class OvStopSignals : public QObject {
    Q_OBJECT
public:
    explicit OvStopSignals(QObject* parent = nullptr);
    ~OvStopSignals() override;

Q_SIGNALS:
    void Stop();

private:
    std::unique_ptr<QSocketNotifier> Notifier;
};
