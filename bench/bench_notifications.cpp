// Receiving notifications: the module (receiver, JSON-lines log and the window's rows, on
// the GUI thread) against net-snmp's snmptrapd -f -n -Lf in the same run (name look-ups off
// and the community checked, as the module does), both fed the same SNMPv2c trap by a
// local sender on 127.0.0.1; each round records the machine's load.
//  1. Paced at 1,000, 2,000 and 5,000 per second for a period each: every one received and
//     logged, for both.
//  2. Unpaced bursts: notifications logged per second, module against snmptrapd (median of
//     interleaved rounds).
//  3. Key press to handling in the Notifications window while 5,000 per second arrive, and
//     under one and under ten traps of 9,000 bindings a second, against the same window
//     without them (medians, and the longest).
//  4. Context switches of an idle program with the listener open against without it, per
//     3 s poll.
// Usage: bench_notifications [seconds per paced run, default 10]
#include "NotificationSender.h"
#include "OffscreenProgram.h"
#include "TestAgent.h"
#include "app/TNotificationsForm.h"
#include "notify/OvNotificationCentre.h"
#include "snmp/TSNMPSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

QByteArray binding(const char* hexOid, const QByteArray& value) {
    return BerElement(0x30, BerElement(0x06, QByteArray::fromHex(hexOid)) + value);
}

// An SNMPv2c dot11AuthenticateFail trap with the community "qubsen" and more bindings.
QByteArray trapWith(const QByteArray& bindings) {
    const QByteArray all =
        binding("2b06010201010300", BerElement(0x43, QByteArray::fromHex("0186a0"))) +
        binding("2b060106030101040100", BerElement(0x06, QByteArray::fromHex("2a864ece340106000 3"))) +
        bindings;
    const QByteArray pdu = BerElement(
        char(0xA7), BerElement(0x02, QByteArray::fromHex("01")) + BerElement(0x02, QByteArray(1, '\0')) +
                        BerElement(0x02, QByteArray(1, '\0')) + BerElement(0x30, all));
    return BerElement(0x30, BerElement(0x02, QByteArray::fromHex("01")) + BerElement(0x04, "qubsen") + pdu);
}

// The trap with the station's MAC and the status.
QByteArray sampleTrap() {
    return trapWith(binding("2a864ece34010501010601", BerElement(0x04, QByteArray::fromHex("001a2b3c4d5e"))) +
                    binding("2a864ece34010501010501", BerElement(0x02, QByteArray::fromHex("0f"))));
}

// A trap of 9,000 bindings (1.3 = NULL), about as large as one datagram holds.
QByteArray largeTrap() {
    QByteArray bindings;
    for (int i = 0; i < 9000; ++i)
        bindings += binding("2b", BerElement(0x05, QByteArray()));
    return trapWith(bindings);
}

// The system's load average over the last minute, recorded beside each round.
double loadAverage() {
    double load = 0;
    return ::getloadavg(&load, 1) == 1 ? load : -1;
}

// Sends the trap to 127.0.0.1:port from another thread: count of them at rate per second
// (0: as fast as the socket takes them). Returns how many were sent.
class Sender {
public:
    Sender(quint16 port, int count, int rate, int maxMs = 0, QByteArray trap = sampleTrap()) {
        Worker = std::thread([=, trap = std::move(trap)] {
            const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
            sockaddr_in to{};
            to.sin_family = AF_INET;
            to.sin_port = htons(port);
            to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            const auto start = std::chrono::steady_clock::now();
            const auto end = start + std::chrono::milliseconds(maxMs);
            for (int i = 0; i < count && (maxMs == 0 || std::chrono::steady_clock::now() < end); ++i) {
                if (rate > 0)
                    std::this_thread::sleep_until(start + std::chrono::microseconds(1000000LL * i / rate));
                if (::sendto(fd, trap.constData(), static_cast<size_t>(trap.size()), 0,
                             reinterpret_cast<sockaddr*>(&to), sizeof to) == trap.size())
                    ++Sent;
            }
            ::close(fd);
            Done = true;
        });
    }
    ~Sender() { Worker.join(); }
    std::atomic<int> Sent{0};
    std::atomic<bool> Done{false};

private:
    std::thread Worker;
};

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The module: a notification centre for the device 127.0.0.1 on its own port and folder.
struct Module {
    QTemporaryDir Folder;
    quint16 Port = TestAgent::FreeUdpPort();
    OvNotificationCentre Centre;
    Module() {
        Centre.Start(QStringLiteral("127.0.0.1"), Port, OvSNMPSecurity(), QStringLiteral("qubsen"),
                     Folder.path());
    }
    // Counted as they are logged (reading the file would cost the receiving thread).
    long Logged() { return Centre.LogError().isEmpty() ? Centre.ReceivedCount() : -1; }
    // Lines in the log and its rotated files.
    long LinesInLog() {
        if (!Centre.Log())
            return 0;
        long lines = 0;
        QStringList paths = Centre.Log()->OlderPaths();
        paths << Centre.Log()->Path();
        for (const QString& path : paths) {
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                lines += f.readAll().count('\n');
        }
        return lines;
    }
};

// snmptrapd -f -n -Lf on its own port, in its default format.
struct Reference {
    QTemporaryDir Folder;
    quint16 Port = TestAgent::FreeUdpPort();
    QProcess Process;
    QString LogFile = Folder.filePath(QStringLiteral("log"));
    Reference() {
        QDir(Folder.path()).mkpath(QStringLiteral("cert_indexes"));
        QFile conf(Folder.filePath(QStringLiteral("snmptrapd.conf")));
        conf.open(QIODevice::WriteOnly);
        // As the module does: the community checked, nothing kept beyond the log.
        conf.write("authCommunity log qubsen\ndoNotRetainNotificationLogs yes\n");
        conf.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MIBS"), QString());
        env.insert(QStringLiteral("HOME"), Folder.path());
        env.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), Folder.path());
        Process.setProcessEnvironment(env);
        Process.start(QStringLiteral("/usr/sbin/snmptrapd"),
                      {QStringLiteral("-f"), QStringLiteral("-n"), QStringLiteral("-Lf"), LogFile,
                       QStringLiteral("-C"), QStringLiteral("-c"), conf.fileName(), QStringLiteral("-M"),
                       QStringLiteral("/dev/null"),
                       QStringLiteral("udp:127.0.0.1:") + QString::number(Port)});
        Process.waitForStarted();
        // Ready once its start line is written.
        QDeadlineTimer ready(5000);
        while (Lines() == 0 && !ready.hasExpired())
            QThread::msleep(20);
        Base = Lines();
    }
    ~Reference() {
        Process.terminate();
        Process.waitForFinished(3000);
    }
    // Lines so far, reading only what was added since the last look.
    long Lines() {
        if (!Log.isOpen()) {
            Log.setFileName(LogFile);
            if (!Log.open(QIODevice::ReadOnly))
                return 0;
        }
        Counted += Log.readAll().count('\n');
        return Counted;
    }
    // Its default format: a line with time and source, a line with the bindings.
    long Logged() { return (Lines() - Base) / 2; }
    long Base = 0;
    QFile Log;
    long Counted = 0;
};

// Sends count at rate to port and waits until logged() stops growing for a second.
// Returns {logged, seconds from the first send to the last logged one}.
std::pair<long, double> feed(quint16 port, int count, int rate, const std::function<long()>& logged,
                             int maxMs = 0) {
    QElapsedTimer clock;
    clock.start();
    const long before = logged();
    long last = before;
    qint64 lastChange = 0;
    {
        Sender sender(port, count, rate, maxMs);
        while (!sender.Done || clock.elapsed() - lastChange < 1000) {
            runFor(50);
            const long now = logged();
            if (now != last) {
                last = now;
                lastChange = clock.elapsed();
            }
            if (sender.Done && now - before >= sender.Sent)
                break;
        }
    }
    return {last - before, lastChange / 1000.0};
}

// Key presses posted to the table every 50 ms; their delays until the table handles them.
class KeyProbe : public QObject {
public:
    explicit KeyProbe(QWidget* target) : Target(target) {
        target->installEventFilter(this);
        connect(&Tick, &QTimer::timeout, this, [this] {
            Posted.push_back(Clock.nsecsElapsed());
            QCoreApplication::postEvent(Target,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
        });
        Clock.start();
        Tick.start(50);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && Handled.size() < Posted.size())
            Handled.push_back(Clock.nsecsElapsed());
        return false;
    }
    double MedianMs() const { return median(Delays()); }
    double MaxMs() const {
        const auto d = Delays();
        return d.empty() ? 0 : *std::max_element(d.begin(), d.end());
    }
    std::vector<double> Delays() const {
        std::vector<double> delays;
        for (size_t i = 0; i < Handled.size(); ++i)
            delays.push_back((Handled[i] - Posted[i]) / 1e6);
        return delays;
    }

private:
    QWidget* Target;
    QTimer Tick;
    QElapsedTimer Clock;
    std::vector<qint64> Posted, Handled;
};

// CPU milliseconds of this thread, and of another process.
double threadCpuMs() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}
double processCpuMs(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = stat.readAll().split(' ');
    if (fields.size() < 15)
        return 0;
    return (fields[13].toDouble() + fields[14].toDouble()) * 1000.0 / sysconf(_SC_CLK_TCK);
}

long switches() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_nvcsw + u.ru_nivcsw;
}

} // namespace

int main(int argc, char** argv) {
    OffscreenProgram program(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    TSNMPSession::Create(QString());

    std::printf("paced, %d s each: sent / logged by the module / logged by snmptrapd\n", seconds);
    bool allLogged = true;
    for (int rate : {1000, 2000, 5000}) {
        const int count = rate * seconds;
        Module module;
        Reference reference;
        const auto mine = feed(module.Port, count, rate, [&module] { return module.Logged(); });
        const auto theirs = feed(reference.Port, count, rate, [&reference] { return reference.Logged(); });
        allLogged = allLogged && mine.first == count && module.LinesInLog() == count;
        std::printf("  %5d/s: %7d / %7ld (%s) / %7ld\n", rate, count, mine.first,
                    mine.first == count ? "all" : "MISSING", theirs.first);
        std::fflush(stdout);
    }

    std::printf("unpaced, %d s each: logged per second, module / snmptrapd\n", seconds);
    std::vector<double> ratios, cpuRatios;
    for (int round = 0; round < 3; ++round) {
        Module module;
        Reference reference;
        std::pair<long, double> mine, theirs;
        double mineCpu = 0, theirCpu = 0;
        auto runMine = [&] {
            const double before = threadCpuMs();
            mine = feed(
                module.Port, INT_MAX, 0, [&module] { return module.Logged(); }, seconds * 1000);
            mineCpu = threadCpuMs() - before;
        };
        auto runTheirs = [&] {
            const double before = processCpuMs(reference.Process.processId());
            theirs = feed(
                reference.Port, INT_MAX, 0, [&reference] { return reference.Logged(); }, seconds * 1000);
            theirCpu = processCpuMs(reference.Process.processId()) - before;
        };
        // Alternating which goes first.
        if (round % 2 == 0) {
            runMine();
            runTheirs();
        } else {
            runTheirs();
            runMine();
        }
        const double mineRate = mine.second > 0 ? mine.first / mine.second : 0;
        const double theirRate = theirs.second > 0 ? theirs.first / theirs.second : 0;
        ratios.push_back(theirRate > 0 ? mineRate / theirRate : 0);
        // CPU time per notification: what each would log per second on a core of its own.
        const double mineUs = mine.first > 0 ? mineCpu * 1000 / mine.first : 0;
        const double theirUs = theirs.first > 0 ? theirCpu * 1000 / theirs.first : 0;
        cpuRatios.push_back(mineUs > 0 ? theirUs / mineUs : 0);
        std::printf("  round %d (%s first, load %.2f): module %.0f/s (%ld logged, %.1f us CPU each), "
                    "snmptrapd %.0f/s "
                    "(%ld logged, %.1f us CPU each), ratio %.2f, per CPU %.2f\n",
                    round + 1, round % 2 == 0 ? "module" : "snmptrapd", loadAverage(), mineRate, mine.first,
                    mineUs, theirRate, theirs.first, theirUs, ratios.back(), cpuRatios.back());
        std::fflush(stdout);
    }
    std::printf("  median ratio of notifications logged per CPU second, module/snmptrapd: %.2fx\n",
                median(cpuRatios));
    std::printf("  median ratio module/snmptrapd: %.2fx\n", median(ratios));

    std::printf("key press to handling in the Notifications window, median ms\n");
    {
        std::vector<double> quiet, flooded;
        double worst = 0;
        Module module;
        QWidget owner;
        TNotificationsForm window(&owner, module.Centre, QStringLiteral("127.0.0.1"));
        window.show();
        auto* table = window.findChild<QTableView*>(QStringLiteral("NotificationsTable"));
        for (int round = 0; round < 3; ++round) {
            {
                KeyProbe probe(table);
                runFor(seconds * 300);
                quiet.push_back(probe.MedianMs());
            }
            {
                KeyProbe probe(table);
                Sender sender(module.Port, 5000 * seconds * 3 / 10, 5000);
                runFor(seconds * 300);
                flooded.push_back(probe.MedianMs());
                worst = std::max(worst, probe.MaxMs());
                while (!sender.Done)
                    runFor(50);
            }
        }
        std::printf(
            "  without notifications %.2f ms, with 5,000/s %.2f ms (limit 100 ms): %s; longest %.1f ms\n",
            median(quiet), median(flooded), median(flooded) <= 100 ? "ok" : "TOO SLOW", worst);
        for (int rate : {1, 10}) {
            std::vector<double> large;
            double longest = 0;
            for (int round = 0; round < 3; ++round) {
                KeyProbe probe(table);
                Sender sender(module.Port, rate * seconds * 3 / 10, rate, 0, largeTrap());
                runFor(seconds * 300);
                large.push_back(probe.MedianMs());
                longest = std::max(longest, probe.MaxMs());
                while (!sender.Done)
                    runFor(50);
            }
            std::printf(
                "  with %d trap(s) of 9,000 bindings a second: median %.2f ms (limit 50 ms), longest %.1f ms "
                "(limit 200 ms): %s\n",
                rate, median(large), longest, median(large) <= 50 && longest <= 200 ? "ok" : "TOO SLOW");
        }
    }

    std::printf("idle context switches per 3 s poll, listener open / without\n");
    {
        std::vector<double> with, without;
        QTimer poll;
        poll.start(3000);
        for (int round = 0; round < 3; ++round) {
            long s = switches();
            runFor(6000);
            without.push_back((switches() - s) / 2.0);
            Module module;
            s = switches();
            runFor(6000);
            with.push_back((switches() - s) / 2.0);
        }
        std::printf("  %.1f / %.1f (at most one more: %s)\n", median(with), median(without),
                    median(with) - median(without) <= 1 ? "ok" : "MORE");
    }
    return allLogged ? 0 : 1;
}
