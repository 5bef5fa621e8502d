#include "app/OvCommandLineHelp.h"
#include "errors/OvErrors.h"
#include "launch/OvLaunchOptions.h"

#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
OvSNMPTarget defaults() {
    OvSNMPTarget t;
    t.Device.Address = QStringLiteral("127.0.0.1");
    t.Device.Port = 161;
    t.Security.ReadCommunity = QStringLiteral("qubsen");
    t.Security.WriteCommunity = QStringLiteral("vortani");
    return t;
}
} // namespace

TEST(LaunchOptions, EveryOptionLandsInItsField) {
    OvSNMPTarget t = defaults();
    TLaunchTexts texts;
    OvParseLaunchOptions({"/Thost", "/I127.1.1.1", "/t1610", "/v3", "/cctx", "/d8000", "/Rr", "/Ww", "/m3",
                          "/l2", "/nuser", "/Aauthpw", "/Pprivpw", "/a3", "/p4"},
                         t, texts);
    EXPECT_EQ(texts.LaunchTypeText, QStringLiteral("host"));
    EXPECT_EQ(texts.AddressText, QStringLiteral("127.1.1.1"));
    EXPECT_EQ(t.Device.Address, QStringLiteral("127.1.1.1"));
    EXPECT_EQ(t.Device.Port, 1610);
    EXPECT_EQ(t.Security.Version, 3);
    EXPECT_EQ(t.Scope.ContextName, QStringLiteral("ctx"));
    EXPECT_EQ(t.Scope.ContextEngineID, QStringLiteral("8000"));
    EXPECT_EQ(t.Security.ReadCommunity, QStringLiteral("r"));
    EXPECT_EQ(texts.ReadCommunityText, QStringLiteral("r"));
    EXPECT_EQ(t.Security.WriteCommunity, QStringLiteral("w"));
    EXPECT_EQ(texts.WriteCommunityText, QStringLiteral("w"));
    EXPECT_EQ(t.Security.SecurityModel, 3);
    EXPECT_EQ(t.Security.SecurityLevel, 2);
    EXPECT_EQ(t.Security.SecurityName, QStringLiteral("user"));
    EXPECT_EQ(t.Security.AuthPassword, QStringLiteral("authpw"));
    EXPECT_EQ(t.Security.PrivPassword, QStringLiteral("privpw"));
    EXPECT_EQ(t.Security.AuthProtocol, 3);
    EXPECT_EQ(t.Security.PrivProtocol, 4);
}

struct OptionCase {
    const char* name;
    QStringList args;
    QString address;
    QString addressText;
    quint16 port;
    QString readCommunity;
    QString writeCommunity;
    QString launchType;
    quint8 version;
};

class LaunchCases : public ::testing::TestWithParam<OptionCase> {};

TEST_P(LaunchCases, Parse) {
    const OptionCase& c = GetParam();
    OvSNMPTarget t = defaults();
    TLaunchTexts texts;
    OvParseLaunchOptions(c.args, t, texts);
    EXPECT_EQ(t.Device.Address, c.address);
    EXPECT_EQ(texts.AddressText, c.addressText);
    EXPECT_EQ(t.Device.Port, c.port);
    EXPECT_EQ(t.Security.ReadCommunity, c.readCommunity);
    EXPECT_EQ(t.Security.WriteCommunity, c.writeCommunity);
    EXPECT_EQ(texts.LaunchTypeText, c.launchType);
    EXPECT_EQ(t.Security.Version, c.version);
}

const QString kLocal = QStringLiteral("127.0.0.1");
const QString kRead = QStringLiteral("qubsen");
const QString kWrite = QStringLiteral("vortani");

INSTANTIATE_TEST_SUITE_P(
    Cases, LaunchCases,
    ::testing::Values(
        OptionCase{"lowerCaseMarkerIgnored", {"/i127.1.1.1"}, kLocal, "", 161, kRead, kWrite, "", 0},
        OptionCase{"markerOrderNotPosition", {"/Rabc/Tx"}, kLocal, "", 161, kRead, kWrite, "x", 0},
        OptionCase{"addressBeforeWrite", {"/Wx/Iy"}, "y", "y", 161, kRead, kWrite, "", 0},
        OptionCase{"markerInMiddle", {"abc/t1610"}, kLocal, "", 1610, kRead, kWrite, "", 0},
        OptionCase{"portLow16Bits", {"/t70000"}, kLocal, "", 4464, kRead, kWrite, "", 0},
        OptionCase{"versionLow8Bits", {"/v259"}, kLocal, "", 161, kRead, kWrite, "", 3},
        OptionCase{"versionOne", {"/v1"}, kLocal, "", 161, kRead, kWrite, "", 1},
        OptionCase{"emptyReadCommunity", {"/R"}, kLocal, "", 161, "", kWrite, "", 0},
        OptionCase{"laterAddressWins", {"/Ia", "/Ib"}, "b", "b", 161, kRead, kWrite, "", 0},
        OptionCase{"noMarkerIgnored", {"hello", "-x"}, kLocal, "", 161, kRead, kWrite, "", 0},
        OptionCase{
            "valueKeepsBlanksAndQuotes", {"/Rpub lic\"x"}, kLocal, "", 161, "pub lic\"x", kWrite, "", 0}),
    RowName());

struct NotificationPortCase {
    const char* name;
    QStringList args;
    quint16 port;
    QString readCommunity;
};
class NotificationPorts : public ::testing::TestWithParam<NotificationPortCase> {};

// /N is tested after every other marker: an argument holding another marker keeps its meaning.
TEST_P(NotificationPorts, ComeLastInTheMarkerOrder) {
    OvSNMPTarget t = defaults();
    TLaunchTexts texts;
    OvParseLaunchOptions(GetParam().args, t, texts);
    EXPECT_EQ(texts.NotificationPort, GetParam().port);
    EXPECT_EQ(t.Security.ReadCommunity, GetParam().readCommunity);
}

INSTANTIATE_TEST_SUITE_P(Launch, NotificationPorts,
                         ::testing::Values(NotificationPortCase{"defaultPort", {"/Rr"}, 162, "r"},
                                           NotificationPortCase{"givenPort", {"/N10162"}, 10162, kRead},
                                           NotificationPortCase{"low16Bits", {"/N65698"}, 162, kRead},
                                           NotificationPortCase{"anyOtherMarkerWins", {"/N5/Rx"}, 162, "x"},
                                           NotificationPortCase{
                                               "insideACommunity", {"/Rab/N5"}, 162, "ab/N5"}),
                         RowName());

struct BadNumber {
    const char* name;
    const char* arg;
    const char* value;
};
class BadNumbers : public ::testing::TestWithParam<BadNumber> {};

TEST_P(BadNumbers, RaiseConversionMessage) {
    OvSNMPTarget t = defaults();
    TLaunchTexts texts;
    try {
        OvParseLaunchOptions({QString::fromUtf8(GetParam().arg)}, t, texts);
        FAIL() << "accepted " << GetParam().arg;
    } catch (const OvConvertError& e) {
        EXPECT_EQ(
            e.message(),
            QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(GetParam().value)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadNumbers,
    ::testing::Values(BadNumber{"portLetters", "/tabc", "abc"}, BadNumber{"emptyPort", "/t", ""},
                      BadNumber{"versionFloat", "/v1.5", "1.5"}, BadNumber{"level", "/lhigh", "high"},
                      BadNumber{"authProto", "/a", ""}, BadNumber{"privProto", "/p2x", "2x"},
                      BadNumber{"model", "/m99999999999", "99999999999"},
                      BadNumber{"notificationPort", "/Nabc", "abc"}),
    RowName());

// ---- --help and --version ------------------------------------------------------------------------

struct InfoCase {
    const char* name;
    QStringList args;
    OvInfoRequest expected;
};
class InfoRequests : public ::testing::TestWithParam<InfoCase> {};

TEST_P(InfoRequests, OnlyTheExactWordsCount) {
    EXPECT_EQ(OvInfoRequested(GetParam().args), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InfoRequests,
    ::testing::Values(InfoCase{"help", {"--help"}, OvInfoRequest::Help},
                      InfoCase{"version", {"--version"}, OvInfoRequest::Version},
                      InfoCase{"amongOptions", {"/I127.0.0.1", "--version"}, OvInfoRequest::Version},
                      InfoCase{"firstDecides", {"--version", "--help"}, OvInfoRequest::Version},
                      InfoCase{"otherCase", {"--HELP"}, OvInfoRequest::None},
                      InfoCase{"longer", {"--helpme"}, OvInfoRequest::None},
                      InfoCase{"singleDash", {"-help"}, OvInfoRequest::None},
                      InfoCase{"asAValue", {"/T--help"}, OvInfoRequest::None},
                      InfoCase{"connect", {"--connect"}, OvInfoRequest::None}),
    RowName());

TEST(CommandLineHelp, NamesEveryLaunchOption) {
    const QString help = OvHelpText();
    for (int i = 0; i < OvLaunchOptionCount(); ++i)
        EXPECT_TRUE(help.contains(QStringLiteral("  /") + QLatin1Char(OvLaunchOptions()[i].Letter) + '<'))
            << OvLaunchOptions()[i].Letter;
    for (const QString& line : help.split('\n'))
        EXPECT_LE(line.size(), 80) << line;
}

// The program answers without a display and without touching the folder it runs in.
TEST(CommandLineHelp, ProgramPrintsAndEnds) {
    const struct {
        const char* argument;
        QString expected;
    } cases[] = {{"--help", OvHelpText()}, {"--version", OvVersionText()}};
    for (const auto& c : cases) {
        QTemporaryDir folder;
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(VELMARN_PROGRAM, {c.argument});
        ASSERT_TRUE(program.waitForFinished(10000)) << c.argument;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_EQ(QString::fromLocal8Bit(program.readAllStandardOutput()), c.expected);
        EXPECT_TRUE(QDir(folder.path()).isEmpty()) << c.argument;
    }
    EXPECT_TRUE(OvVersionText().startsWith("velmarn 1."));
}

// Each program answers its help and its version without a display and ends.
TEST(CommandLineHelp, EveryProgramPrintsWithoutADisplay) {
    const struct {
        const char *program, *name, *argument;
    } rows[] = {
        {VELMARN_PROGRAM, "velmarn", "--help"},
        {VELMARN_PROGRAM, "velmarn", "--version"},
        {VELMARN_VIEWER_PROGRAM, "velmarn-mib", "--help"},
        {VELMARN_VIEWER_PROGRAM, "velmarn-mib", "--version"},
        {VELMARN_CONFIG_PROGRAM, "velmarn-config", "--help"},
        {VELMARN_CONFIG_PROGRAM, "velmarn-config", "version"},
        {VELMARN_CONFIG_PROGRAM, "velmarn-config", "-V"},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(variable);
    for (const auto& r : rows) {
        const QString row = QStringLiteral("%1 %2").arg(r.name, r.argument);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(r.program, {r.argument});
        ASSERT_TRUE(program.waitForFinished(10000)) << row;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << row;
        EXPECT_EQ(program.exitCode(), 0) << row;
        const QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
        if (QLatin1String(r.argument) == "--help")
            EXPECT_TRUE(printed.startsWith(QStringLiteral("Usage: %1 ").arg(r.name))) << row << printed;
        else
            EXPECT_EQ(printed, QStringLiteral("%1 " VELMARN_PROJECT_VERSION "\n").arg(r.name)) << row;
    }
}
