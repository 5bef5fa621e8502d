// velmarn-config's command line and the files it names, read before any device is contacted.
#include "TestAgent.h"
#include "configtool/OvConfigOptions.h"
#include "snmp/TSNMPSession.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A device as the options make it: what it is called, its host and port, its profile.
struct Device {
    QString Address;
    QString Host;
    int Port;
    QString Profile;
};

bool operator==(const Device& a, const Device& b) {
    return a.Address == b.Address && a.Host == b.Host && a.Port == b.Port && a.Profile == b.Profile;
}

void PrintTo(const Device& d, std::ostream* os) {
    *os << "{" << d.Address.toStdString() << " -> " << d.Host.toStdString() << " " << d.Port << " "
        << d.Profile.toStdString() << "}";
}

class ConfigOptions : public ::testing::Test {
protected:
    QTemporaryDir Dir;

    QString write(const QString& name, const QByteArray& text) const {
        QFile f(Dir.filePath(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
        return f.fileName();
    }

    // The command line of these options for a backup of each device into its own file.
    static OvConfigOptions parse(const QStringList& options) {
        return OvConfigOptions::Parse(options + QStringList{"backup", "{address}.json"});
    }
    static std::vector<Device> devicesOf(const OvConfigOptions& o) {
        std::vector<Device> devices;
        for (const QString& address : o.Addresses) {
            const OvSNMPDevice d = o.TargetFor(address).Device;
            const auto profile = o.ProfileOf.find(address);
            devices.push_back(
                {address, d.Address, d.Port, profile == o.ProfileOf.end() ? QString() : profile->second});
        }
        return devices;
    }
    // The message of the usage error the command line is refused with, or "accepted".
    static QString refusal(const QStringList& options,
                           const QStringList& command = {"backup", "{address}.json"}) {
        try {
            OvConfigOptions::Parse(options + command);
        } catch (const OvUsageError& e) {
            return e.Message();
        }
        return "accepted";
    }
};

TEST_F(ConfigOptions, AnAddressIsSplitIntoHostAndPort) {
    struct Case {
        QString address, host;
        int port;
    };
    for (const Case& c :
         {Case{"127.0.0.1", "127.0.0.1", 1161}, Case{"127.0.0.1:16161", "127.0.0.1", 16161},
          Case{"localhost:1", "localhost", 1}, Case{"localhost:65535", "localhost", 65535},
          Case{"::1", "::1", 1161}, Case{"[::1]", "::1", 1161}, Case{"[::1]:16161", "::1", 16161},
          Case{"0:0:0:0:0:0:0:1", "0:0:0:0:0:0:0:1", 1161}, Case{"[::1%lo]:16161", "::1%lo", 16161}}) {
        const OvConfigOptions o = parse({"--address", c.address, "--port", "1161"});
        EXPECT_EQ(devicesOf(o), (std::vector<Device>{{c.address, c.host, c.port, QString()}}))
            << c.address.toStdString();
    }
}

// What the options say of a port that is not one.
QString notAPort(const QString& port) {
    return QString("\"%1\" is not a port (a whole number from 1 to 65535)").arg(port);
}

TEST_F(ConfigOptions, AnAddressThatIsNoneIsRefused) {
    struct Case {
        QString address, wrong;
    };
    const QString noPort = "no port after \":\"";
    const QString notSplit = "neither HOST:PORT nor an IPv6 address (with a port: [IPV6]:PORT)";
    for (const Case& c : {Case{"127.0.0.1:99999", notAPort("99999")},
                          {"127.0.0.1:65536", notAPort("65536")},
                          {"127.0.0.1:0", notAPort("0")},
                          {"127.0.0.1:-1", notAPort("-1")},
                          {"127.0.0.1:+5", notAPort("+5")},
                          {"127.0.0.1: 5", notAPort(" 5")},
                          {"127.0.0.1:16161/", notAPort("16161/")},
                          {"127.0.0.1:99999999999999999999", notAPort("99999999999999999999")},
                          {"[::1]:0", notAPort("0")},
                          {"127.0.0.1:", noPort},
                          {"[::1]:", noPort},
                          {":0", "no host"},
                          {":161", "no host"},
                          {"", "no host"},
                          {"127.0.0.1:16161:5", notSplit},
                          {"::1:16161", notSplit},
                          {"::1%", notSplit},
                          {"[::1", "no \"]\" after \"[\""},
                          {"[::1]16161", "only \":PORT\" may follow \"]\""},
                          {"[127.0.0.1]:161", "\"127.0.0.1\" in brackets is not an IPv6 address"},
                          {"[]", "\"\" in brackets is not an IPv6 address"}})
        EXPECT_EQ(refusal({"--address", "127.0.0.1", "--address", c.address}),
                  QString("--address \"%1\": %2").arg(c.address, c.wrong));
    for (const char* port : {"0", "65536", "1.5"})
        EXPECT_EQ(refusal({"--address", "127.0.0.1", "--port", port}), "--port: " + notAPort(port));
}

TEST_F(ConfigOptions, TheLinesOfAnAddressesFile) {
    const QString profiles = write("profiles.ini", "[p]\ncommunity=p\n");
    const QString devices = write("devices.txt", "\xef\xbb\xbf"
                                                 "127.0.0.1:16161   # office\n"
                                                 "# a comment\n"
                                                 "\n"
                                                 "   #\n"
                                                 "  127.0.0.2   16162\tp  \r\n"
                                                 "::1 16163#p\n"
                                                 "[::1] 16164 p # p\n"
                                                 "[::1]:16165\n"
                                                 "::1\n"
                                                 "localhost\n");
    const QString inventory = write("devices.csv", "# exported\n"
                                                   "address,port,profile,name\n"
                                                   "127.0.0.3,16166,p,\"Hall, east\"\n"
                                                   "\"[::1]:16167\",,,\n"
                                                   "127.0.0.4,,p\n");
    const OvConfigOptions o = parse({"--profiles", profiles, "--addresses-file", devices, "--port", "1161",
                                     "--addresses-file", inventory});
    EXPECT_EQ(devicesOf(o), (std::vector<Device>{{"127.0.0.1:16161", "127.0.0.1", 16161, ""},
                                                 {"127.0.0.2:16162", "127.0.0.2", 16162, "p"},
                                                 {"[::1]:16163", "::1", 16163, ""},
                                                 {"[::1]:16164", "::1", 16164, "p"},
                                                 {"[::1]:16165", "::1", 16165, ""},
                                                 {"::1", "::1", 1161, ""},
                                                 {"localhost", "localhost", 1161, ""},
                                                 {"127.0.0.3:16166", "127.0.0.3", 16166, "p"},
                                                 {"[::1]:16167", "::1", 16167, ""},
                                                 {"127.0.0.4", "127.0.0.4", 1161, "p"}}));
}

// What the options say of a name that would not name a file everywhere.
QString notAName(const QString& name) {
    return QString(
               "\"%1\" cannot name a file on every system (not empty, \".\" or \"..\", no dot or blank at "
               "the end, none of < > : \" / \\ | ? * or control characters)")
        .arg(name);
}

TEST_F(ConfigOptions, ALineOfAnAddressesFileThatIsNoDeviceIsRefused) {
    struct Case {
        QByteArray line;
        QString wrong;
    };
    for (const Case& c : {Case{"127.0.0.1 99999", notAPort("99999")},
                          {"127.0.0.1 0 p", notAPort("0")},
                          {"127.0.0.1 p", notAPort("p")},
                          {"127.0.0.1:5 16161", "a port after HOST and another one after a blank"},
                          {"[::1]:5 16161", "a port after HOST and another one after a blank"},
                          {"127.0.0.1:99999", notAPort("99999")},
                          {":16161 16161", "no host"},
                          {"127.0.0.1 16161 p q", "not HOST[:PORT] or HOST PORT [PROFILE] [name=NAME]"},
                          {"127.0.0.1 name=ap7 p", "not HOST[:PORT] or HOST PORT [PROFILE] [name=NAME]"},
                          {"127.0.0.1 name=", notAName("")},
                          {"127.0.0.1 name=ap/7", notAName("ap/7")},
                          {"127.0.0.1 name=ap7.", notAName("ap7.")}}) {
        const QString devices = write("devices.txt", "127.0.0.1\n\n" + c.line + "\n");
        EXPECT_EQ(refusal({"--addresses-file", devices}),
                  QString("%1:3: \"%2\": %3").arg(devices, QString::fromUtf8(c.line), c.wrong));
    }
    for (const Case& c : {Case{"address,port,site", "unknown column \"site\" (address, port, profile, name)"},
                          {"address,port\n127.0.0.1,1,2", "not a row of the columns address,port"},
                          {"port,address\n0,127.0.0.1", notAPort("0")},
                          {"name,address\n\"a\tb\",127.0.0.1", notAName("a\tb")}}) {
        const QString devices = write("devices.csv", "\n" + c.line + "\n");
        const QString line = QString::fromUtf8(c.line.split('\n').last());
        EXPECT_EQ(refusal({"--addresses-file", devices}),
                  QString("%1:%2: \"%3\": %4").arg(devices).arg(c.line.count('\n') + 2).arg(line, c.wrong));
    } // The message names the entry, without its comment.
    const QString devices = write("devices.txt", "127.0.0.1:99999  # office\n");
    EXPECT_EQ(refusal({"--addresses-file", devices}),
              QString("%1:1: \"127.0.0.1:99999\": %2").arg(devices, notAPort("99999")));
}

TEST_F(ConfigOptions, TheSameDeviceGivenTwiceIsHandledOnce) {
    const QString profiles = write("profiles.ini", "[p]\ncommunity=p\n");
    const QString devices = write("devices.txt", "127.0.0.1 161\n"
                                                 "127.0.0.2 161 p\n"
                                                 "[::1]:161 \n"
                                                 "::1 161 p\n");
    const OvConfigOptions o =
        parse({"--address", "127.0.0.1", "--address", "127.0.0.2", "--profiles", profiles, "--addresses-file",
               devices, "--address", "127.0.0.1:161", "--address", "[::1]"});
    EXPECT_EQ(devicesOf(o), (std::vector<Device>{{"127.0.0.1", "127.0.0.1", 161, ""},
                                                 {"127.0.0.2", "127.0.0.2", 161, "p"},
                                                 {"[::1]:161", "::1", 161, "p"}}));
}

// {name} is the device's name, or its address with "_" for ":"; a name or file is one device's.
TEST_F(ConfigOptions, ANameNamesTheBackupOfOneDevice) {
    const QString devices =
        write("devices.txt", "127.0.0.1 161 name=ap7-lobby\n[::1]:16161\n127.0.0.2 name=ap9 # x\n");
    const QString csv = write("devices.csv", "name,address\n\"Hall, east\",127.0.0.3\n");
    const OvConfigOptions o = OvConfigOptions::Parse({"--addresses-file", devices, "--address", "127.0.0.2",
                                                      "--addresses-file", csv, "backup", "{name}@{address}"});
    QStringList files;
    for (const QString& address : o.Addresses)
        files << o.FileFor(address);
    EXPECT_EQ(files, (QStringList{"ap7-lobby@127.0.0.1:161", "[__1]_16161@[::1]:16161", "ap9@127.0.0.2",
                                  "Hall, east@127.0.0.3"}));
    const QString same = write("same.txt", "127.0.0.1 name=ap7\n127.0.0.2 name=ap7\n");
    const QString two = write("two.txt", "127.0.0.1 name=ap7\n127.0.0.1 name=ap8\n");
    const QString taken = write("taken.txt", "127.0.0.1:161\n127.0.0.2 name=127.0.0.1_161\n");
    for (const auto& [file, refusal] : std::initializer_list<std::pair<QString, QString>>{
             {same, same + ":2: the name \"ap7\" is also given on " + same + ":1"},
             {two, two + ":2: \"127.0.0.1\" named \"ap8\" is also on " + two + ":1 named \"ap7\""},
             {taken, "127.0.0.1:161 and 127.0.0.1_161 (127.0.0.2) would both be backed up to 127.0.0.1_161"}})
        EXPECT_EQ(this->refusal({"--addresses-file", file}, {"backup", "{name}"}), refusal);
}

TEST_F(ConfigOptions, TheSameDeviceWithTwoProfilesIsRefused) {
    const QString profiles = write("profiles.ini", "[p]\ncommunity=p\n[q]\ncommunity=q\n");
    const QString devices = write("devices.txt", "127.0.0.1 161 p\n"
                                                 "[::1]:16161\n"
                                                 "::1 16161 p\n"
                                                 "127.0.0.1 161 p\n");
    const QString more = write("more.txt", "::1 16161 q\n");
    EXPECT_EQ(refusal({"--profiles", profiles, "--addresses-file", devices, "--addresses-file", more}),
              QString("%1:1: \"[::1]:16161\" with profile \"q\" is also on %2:3 with profile \"p\"")
                  .arg(more, devices));
    const QString again = write("again.txt", "127.0.0.1 16161 p\n127.0.0.1 16161 q\n");
    EXPECT_EQ(refusal({"--profiles", profiles, "--address", "127.0.0.1", "--port", "16161",
                       "--addresses-file", again}),
              QString("%1:2: \"127.0.0.1:16161\" with profile \"q\" is also on %1:1 with profile \"p\"")
                  .arg(again));
}

TEST_F(ConfigOptions, AProfilesFileWithCommentsBlankLinesAndSections) {
    const QString profiles = write("profiles.ini", "\xef\xbb\xbf; profiles\r\n"
                                                   "[a]\r\n"
                                                   "# write-community=x\r\n"
                                                   "community = a ; the office\r\n"
                                                   "\r\n"
                                                   "[b]\n"
                                                   "  ; version=3\n"
                                                   "community=b\n"
                                                   "[a]\n"
                                                   "write-community=wa\n"
                                                   "[c]\n" // values as written, whatever INI makes of them
                                                   "community=qub;sen\n"
                                                   "write-community = qub,sen \n"
                                                   "[General]\n"
                                                   "community=qubsen\\\n"
                                                   "write-community=#x\n");
    const QString devices =
        write("devices.txt", "127.0.0.1 161 a\n127.0.0.2 161 b\n127.0.0.3 161 c\n127.0.0.4 161 General\n");
    const OvConfigOptions o = parse({"--profiles", profiles, "--addresses-file", devices});
    std::vector<std::tuple<int, QString, QString>> read;
    for (const QString& address : o.Addresses) {
        const OvSNMPSecurity s = o.TargetFor(address).Security;
        read.emplace_back(s.Version, s.ReadCommunity, s.WriteCommunity);
    }
    const QString vortani = TSNMPSession::Defaults().Security.WriteCommunity;
    EXPECT_EQ(read, (std::vector<std::tuple<int, QString, QString>>{{1, "a ; the office", "wa"},
                                                                    {1, "b", vortani},
                                                                    {1, "qub;sen", "qub,sen"},
                                                                    {1, "qubsen\\", "#x"}}));
}

TEST_F(ConfigOptions, ALineOfAProfilesFileThatCannotBeTakenAsWrittenIsRefused) {
    struct Case {
        QByteArray text;
        int line;
        QString wrong;
    };
    for (const Case& c :
         {Case{"[p]\nversion 3\n", 2, "neither key=value nor a [section] nor a comment"},
          {"[p]\ncommunity=a\ngarbage line\n", 3, "neither key=value nor a [section] nor a comment"},
          {"[p]\n=3\n", 2, "neither key=value nor a [section] nor a comment"},
          {"[p\nversion=3\n", 1, "neither key=value nor a [section] nor a comment"},
          {"[p]\n", 1, "a profile without keys"},
          {"[p]\n; version=3\n\n[q]\nversion=3\n", 1, "a profile without keys"},
          {"version=3\n[p]\nversion=3\n", 1, "a key before the first [section]"},
          {"[p]\ncommunity=a\nversion=1\ncommunity = b\n", 4,
           "\"community\" given twice in its section, first on line 2"},
          {"[p]\ncommunity=a\n[q]\nversion=1\n[p]\ncommunity=b\n", 6,
           "\"community\" given twice in its section, first on line 2"},
          {"[p]\nComunity=a\n", 2, "unknown key \"Comunity\""},
          {"[]\nversion=1\n", 1, "a profile needs a name"},
          {"[p]\ncommunity=\"qub sen\"\n", 2,
           "a value in quotes (values are taken as written: leave the quotes out)"},
          {"[p]\ncommunity=qub\x01sen\n", 2,
           "a value with a control character or bytes that are not UTF-8"}}) {
        const QString profiles = write("profiles.ini", c.text);
        const QString line = QString::fromUtf8(c.text.split('\n')[c.line - 1]);
        EXPECT_EQ(refusal({"--profiles", profiles, "--address", "127.0.0.1"}),
                  QString("%1:%2: \"%3\": %4").arg(profiles).arg(c.line).arg(line, c.wrong));
    }
}

// A profile's credentials are used instead of the command line's: a key it leaves out takes
// the built-in default.
TEST_F(ConfigOptions, AProfileLeavesNothingToTheCommandLine) {
    const OvSNMPSecurity builtIn = TSNMPSession::Defaults().Security;
    const QString profiles = write("profiles.ini", "[community]\ncommunity=p\n"
                                                   "[version]\nversion=1\n"
                                                   "[write]\nwrite-community=pw\n");
    const QString devices = write(
        "devices.txt", "127.0.0.1 161 community\n127.0.0.2 161 version\n127.0.0.3 161 write\n127.0.0.4\n");
    for (const QStringList& commandLine :
         {QStringList{"--version", "1", "--community", "c", "--write-community", "cw", "--context", "x"},
          QStringList{"--version", "3", "--user", "u", "--auth-protocol", "SHA", "--auth-passphrase-file",
                      write("auth.txt", "12345678"), "--context", "x"}}) {
        const OvConfigOptions o =
            parse(commandLine + QStringList{"--profiles", profiles, "--addresses-file", devices});
        std::vector<std::tuple<int, QString, QString, QString, int, QString>> credentials;
        for (const QString& address : o.Addresses) {
            const OvSNMPTarget t = o.TargetFor(address);
            const OvSNMPSecurity& s = t.Security;
            credentials.emplace_back(s.Version, s.ReadCommunity, s.WriteCommunity, s.SecurityName,
                                     s.AuthProtocol, t.Scope.ContextName);
        }
        const bool v3 = commandLine[1] == "3";
        const auto own =
            v3 ? std::tuple(3, builtIn.ReadCommunity, builtIn.WriteCommunity, QString("u"), 3, QString("x"))
               : std::tuple(0, QString("c"), QString("cw"), QString(), 1, QString("x"));
        EXPECT_EQ(credentials, (std::vector<std::tuple<int, QString, QString, QString, int, QString>>{
                                   {1, "p", builtIn.WriteCommunity, "", 1, ""},
                                   {0, builtIn.ReadCommunity, builtIn.WriteCommunity, "", 1, ""},
                                   {1, builtIn.ReadCommunity, "pw", "", 1, ""},
                                   own}))
            << commandLine.join(' ').toStdString();
    }
}

TEST_F(ConfigOptions, AnEmptyCommunityIsRefused) {
    for (const char* option : {"--community", "--write-community"})
        EXPECT_EQ(refusal({"--address", "127.0.0.1", option, ""}), QString(option) + ": an empty community");
    const QString devices = write("devices.txt", "127.0.0.1 161 p\n");
    for (const char* key : {"community", "write-community"}) {
        const QString profiles = write("profiles.ini", QByteArray("[p]\n") + key + " =\n");
        EXPECT_EQ(refusal({"--profiles", profiles, "--addresses-file", devices}),
                  QString("%1 [p] %2: an empty community").arg(profiles, key));
    }
}

// The program itself: the usage error ends it before it sends anything to the devices
// named before the one refused.
TEST_F(ConfigOptions, AnAddressThatIsNoneEndsTheProgramWithStatus2) {
    const int listener = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof at;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&at), size), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&at), &size), 0);
    const QString device = QString("127.0.0.1:%1").arg(ntohs(at.sin_port));

    QProcess p;
    p.start(VELMARN_CONFIG_TOOL,
            {"--address", device, "--address", "127.0.0.1:65536", "backup", "{address}"});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_EQ(
        QString::fromUtf8(p.readAllStandardError()),
        "velmarn-config: --address \"127.0.0.1:65536\": \"65536\" is not a port (a whole number from 1 to "
        "65535)\nTry 'velmarn-config --help'.\n");
    char byte;
    EXPECT_EQ(::recv(listener, &byte, 1, 0), -1); // nothing came
    ::close(listener);
}

// A device on ::1 is reached there: net-snmp's snmpd, which answers on both loopback
// addresses, lacks the access point's objects, so that its backup is refused once read.
TEST_F(ConfigOptions, AnIPv6DeviceIsReachedOnItsAddress) {
    const quint16 port = TestAgent::FreeUdpPort();
    QString error;
    const auto agent = TestAgent::StartSnmpd(
        &error, QString("agentAddress udp6:[::1]:%1\nrocommunity6 qubsen ::1\n").arg(port), port);
    ASSERT_NE(agent, nullptr) << error.toStdString();
    const QString devices = write("devices.txt", QString("::1 %1\n").arg(port).toUtf8());
    for (const QStringList& args :
         {QStringList{"--address", QString("[::1]:%1").arg(port)}, QStringList{"--addresses-file", devices},
          QStringList{"--address", "::1", "--port", QString::number(port)},
          QStringList{"--addresses-file", "-"}}) {
        QProcess p;
        p.start(VELMARN_CONFIG_TOOL,
                args + QStringList{"--retries", "0", "backup", Dir.path() + "/{address}"});
        p.write(QString("name,address,port\nlab,::1,%1\n").arg(port).toUtf8()); // read with "-" only
        p.closeWriteChannel();
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), 3) << err.toStdString();
        const QString name = args[0] == "--address"
                                 ? args[1]
                                 : QString(args[1] == "-" ? "lab ([::1]:%1)" : "[::1]:%1").arg(port);
        EXPECT_TRUE(
            err.startsWith(name + ": not backed up: the device has none of the access point's objects"))
            << err.toStdString();
    }
}

} // namespace
