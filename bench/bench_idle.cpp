// Idle CPU use of the module: the main window (status poll every 3 s) and one counters
// window (a synchronous read of 14 counters every second) against the simulated access
// point, measured over a period, against a reference in the same run: a bare Qt program
// state with one 3000 ms timer over the same period. Prints CPU milliseconds and the share
// of one core for both.
#include "BenchModule.h"
#include "OffscreenProgram.h"
#include "TestAgent.h"
#include "app/TMainForm.h"
#include "app/TSNMP_Counters.h"
#include "binding/OvFeedback.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QTreeWidget>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>
#include <cstdlib>
#include <sys/resource.h>

namespace {

double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

// Context switches of the process so far: each one a wake-up of a thread.
long switches() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw + u.ru_nivcsw;
}

// Runs the event loop for ms and returns the CPU time it took.
double idleFor(int ms) {
    const double before = cpuMs();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return cpuMs() - before;
}

} // namespace

int main(int argc, char** argv) {
    OffscreenProgram program(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const int ms = seconds * 1000;

    double reference = 0;
    long referenceSwitches = 0;
    {
        QTimer timer;
        int ticks = 0;
        QObject::connect(&timer, &QTimer::timeout, &timer, [&ticks] { ++ticks; });
        timer.start(3000);
        const long before = switches();
        reference = idleFor(ms);
        referenceSwitches = switches() - before;
    }

    auto sim = StartSimulatedDevice();
    if (!sim)
        return 1;
    auto shown = ShowModule(*sim);
    TMainForm& form = *shown;
    idleFor(2000);
    const long mainBefore = switches();
    const double mainOnly = idleFor(ms);
    const long mainSwitches = switches() - mainBefore;
    form.CounterTable1Click();
    idleFor(2000); // first reads done
    const double module = idleFor(ms);

    // The rate graph: 14 curves over 10 minutes (a history of 600 polls), against the
    // same window without the graph, in alternating rounds.
    TSNMP_Counters* counters = form.findChild<TSNMP_Counters*>();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int poll = 600; poll > 0; --poll)
        for (int c = 0; c < TSNMP_Counters::CounterCount; ++c)
            counters->History.Append(c, {now - poll * 1000, 1000u + poll, 10, 10.0 + c});
    counters->LV_SNMPCounterData->selectAll();
    const int roundMs = std::max(2000, ms / 4);
    std::vector<double> without, with;
    for (int round = 0; round < 4; ++round) {
        counters->CB_Graph->setChecked(false);
        idleFor(500);
        without.push_back(idleFor(roundMs));
        counters->CB_Graph->setChecked(true);
        idleFor(500);
        with.push_back(idleFor(roundMs));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return (v[v.size() / 2] + v[(v.size() - 1) / 2]) / 2;
    };
    const double graphOff = median(without);
    const double graphOn = median(with);

    std::printf("idle CPU over %d s (ms of CPU, share of one core)\n", seconds);
    std::printf("  reference: Qt event loop with one 3000 ms timer  %8.1f ms  %.3f %%\n", reference,
                100.0 * reference / ms);
    std::printf("  module: main window alone, polling every 3 s     %8.1f ms  %.3f %%\n", mainOnly,
                100.0 * mainOnly / ms);
    std::printf(
        "  wake-ups (context switches): reference %ld, main window alone %ld; %.1f more per 3 s poll\n",
        referenceSwitches, mainSwitches, (mainSwitches - referenceSwitches) / (ms / 3000.0));
    std::printf("  module: main window + counters window, polling  %8.1f ms  %.3f %%\n", module,
                100.0 * module / ms);
    std::printf("  module minus reference: %.3f %% of one core (aim: under 1 %%)\n",
                100.0 * (module - reference) / ms);
    std::printf("  counters window without graph, median of 4 rounds of %d s  %8.1f ms  %.3f %%\n",
                roundMs / 1000, graphOff, 100.0 * graphOff / roundMs);
    std::printf("  counters window with 14 curves over 10 min                 %8.1f ms  %.3f %%\n", graphOn,
                100.0 * graphOn / roundMs);
    std::printf("  graph costs %.3f %% of one core more (aim: at most 0.2 %%)\n",
                100.0 * (graphOn - graphOff) / roundMs);
    return 0;
}
