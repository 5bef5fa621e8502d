// Responsiveness with a device that stops answering: the main window, a configuration
// window and the counters monitor open against the simulated access point; a key press
// is posted to an edit every 50 ms and the delay until the edit handles it is recorded.
// Rounds alternate between a frozen agent (SIGSTOP) and an answering one (the
// reference), so both see the same machine load. Prints median and 90th percentile of
// each and their ratio.
#include "BenchModule.h"
#include "OffscreenProgram.h"
#include "TestAgent.h"
#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "device/TConfigForms.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Records when each posted key press is handled.
class KeyClock : public QObject {
public:
    explicit KeyClock(QElapsedTimer& clock) : Clock(clock) {}
    std::vector<qint64> PostedAt;
    std::vector<double> DelaysMs;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && !PostedAt.empty()) {
            DelaysMs.push_back((Clock.nsecsElapsed() - PostedAt.front()) / 1e6);
            PostedAt.erase(PostedAt.begin());
        }
        return false;
    }

private:
    QElapsedTimer& Clock;
};

double percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    OffscreenProgram program(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;

    auto sim = StartSimulatedDevice();
    if (!sim)
        return 1;
    auto shown = ShowModule(*sim);
    TMainForm& form = *shown;
    form.StationConfiguration1Click();
    form.CounterTable1Click();
    runFor(2000);

    QLineEdit target;
    target.show();
    QElapsedTimer clock;
    clock.start();
    KeyClock silentKeys(clock);
    KeyClock answeringKeys(clock);
    KeyClock* current = nullptr;
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, &typist, [&] {
        current->PostedAt.push_back(clock.nsecsElapsed());
        QCoreApplication::postEvent(
            &target, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
    });
    for (int r = 0; r < rounds; ++r) {
        for (bool silent : {true, false}) {
            sim->SetSilent(silent);
            current = silent ? &silentKeys : &answeringKeys;
            target.installEventFilter(current);
            typist.start(50);
            runFor(4000);
            typist.stop();
            runFor(2500); // what is still queued or outstanding is handled before the next round
            target.removeEventFilter(current);
            current->PostedAt.clear();
        }
    }
    sim->SetSilent(false);

    const double silentMedian = percentile(silentKeys.DelaysMs, 0.5);
    const double answeringMedian = percentile(answeringKeys.DelaysMs, 0.5);
    std::printf("key press to handling, %d rounds of 4 s each, main + station + counters windows open\n",
                rounds);
    std::printf("  device silent:    median %7.2f ms, 90th percentile %7.2f ms, max %7.2f ms (%zu keys)\n",
                silentMedian, percentile(silentKeys.DelaysMs, 0.9), percentile(silentKeys.DelaysMs, 1.0),
                silentKeys.DelaysMs.size());
    std::printf("  device answering: median %7.2f ms, 90th percentile %7.2f ms, max %7.2f ms (%zu keys)\n",
                answeringMedian, percentile(answeringKeys.DelaysMs, 0.9),
                percentile(answeringKeys.DelaysMs, 1.0), answeringKeys.DelaysMs.size());
    std::printf("  silent / answering medians: %.2f (aim: silent median <= 100 ms, 90th <= 300 ms)\n",
                answeringMedian > 0 ? silentMedian / answeringMedian : 0.0);
    return 0;
}
