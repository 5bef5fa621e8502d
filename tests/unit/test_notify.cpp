// The notification receiver against net-snmp's own senders, hostile datagrams, and the
// JSON-lines log with its rotation.
#include "NotificationSender.h"
#include "SessionFixture.h"
#include "TestAgent.h"
#include "TestSupport.h"
#include "notify/OvNotificationCentre.h"
#include "notify/OvNotificationLog.h"
#include "notify/OvNotificationModel.h"
#include "notify/OvNotificationReceiver.h"
#include "notify/OvUsmHeader.h"
#include "snmp/TSNMPSession.h"

#include "values/OvPrivateFolder.h"
#include "values/OvProcessStart.h"

#include <QDir>
#include <QFileInfo>
#include <sys/resource.h>
#include <sys/stat.h>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QThread>
#include <QUdpSocket>

namespace {

const QString kHere = QStringLiteral("127.0.0.1");

// A receiver on a free loopback port for the device 127.0.0.1, whose SNMPv3 user is the
// module's test user at authPriv; it keeps what it received.
class ReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TSNMPSession::IsCreated())
            TSNMPSession::Create(QString());
        Port = TestAgent::FreeUdpPort();
        QString error;
        ASSERT_TRUE(Receiver.Listen(kHere, Port, error)) << error;
        Receiver.SetDevice(QHostAddress(kHere));
        OvSNMPSecurity user;
        user.Version = 3;
        user.SecurityModel = 3;
        user.SecurityLevel = 3;
        user.SecurityName = QStringLiteral("velmarn");
        user.AuthProtocol = 3;
        user.AuthPassword = QStringLiteral("velmarn-auth");
        user.PrivProtocol = 4;
        user.PrivPassword = QStringLiteral("velmarn-priv");
        Receiver.SetUser(user);
        Receiver.SetTrapCommunity(QStringLiteral("public"));
        QObject::connect(&Receiver, &OvNotificationReceiver::Received, &Receiver,
                         [this](const OvNotification& n) { Got.push_back(n); });
    }

    bool WaitForCount(size_t count) {
        return WaitFor([&] { return Got.size() >= count; });
    }

    void SendDatagram(const QByteArray& bytes, const QString& from = kHere) {
        QUdpSocket socket;
        ASSERT_TRUE(socket.bind(QHostAddress(from), 0));
        ASSERT_EQ(socket.writeDatagram(bytes, QHostAddress(kHere), Port), bytes.size());
    }

    quint16 Port = 0;
    OvNotificationReceiver Receiver;
    NotificationSender Sender;
    std::vector<OvNotification> Got;
};

QStringList bindingTexts(const OvNotification& n) {
    QStringList texts;
    for (const OvNotifiedBinding& b : n.Bindings)
        texts << b.Name + QLatin1Char('=') + b.Value + (b.Hex ? QStringLiteral(" [hex]") : QString());
    return texts;
}

// BER of one element.
// A v2c trap with the given bindings after sysUpTime.0 and snmpTrapOID.0 (linkDown).
QByteArray v2cTrap(const QByteArray& extraBindings) {
    const QByteArray upTime = BerElement(0x30, BerElement(0x06, QByteArray::fromHex("2b06010201010300")) +
                                                   BerElement(0x43, "\x01"));
    const QByteArray trapOid =
        BerElement(0x30, BerElement(0x06, QByteArray::fromHex("2b0601060301010401 00")) +
                             BerElement(0x06, QByteArray::fromHex("2b060106030101050 3")));
    const QByteArray pdu =
        BerElement(char(0xA7), BerElement(0x02, "\x01") + BerElement(0x02, QByteArray(1, '\0')) +
                                   BerElement(0x02, QByteArray(1, '\0')) +
                                   BerElement(0x30, upTime + trapOid + extraBindings));
    return BerElement(0x30, BerElement(0x02, "\x01") + BerElement(0x04, "public") + pdu);
}

struct SentCase {
    const char* name;
    const char* program;
    QStringList options;
    QStringList notification; // uptime, OID, bindings
    const char* version;
    const char* type;
    const char* expectedName;
    QStringList expectedBindings;
};

class Sent : public ReceiverTest, public ::testing::WithParamInterface<SentCase> {};

TEST_P(Sent, IsShownWithItsNameBindingsAndValues) {
    const SentCase& c = GetParam();
    ASSERT_EQ(Sender.Send(QLatin1String(c.program), c.options, Port, c.notification), 0)
        << "an inform is acknowledged on the wire";
    ASSERT_TRUE(WaitForCount(1));
    const OvNotification& n = Got.front();
    EXPECT_EQ(n.Refusal, QString());
    EXPECT_EQ(n.Source, kHere);
    EXPECT_NE(n.SourcePort, 0);
    EXPECT_EQ(n.Version, QLatin1String(c.version));
    EXPECT_EQ(n.Type, QLatin1String(c.type));
    EXPECT_EQ(n.Name, QLatin1String(c.expectedName));
    EXPECT_EQ(n.Uptime, QStringLiteral("0:02:03.45"));
    EXPECT_EQ(bindingTexts(n), c.expectedBindings);
    EXPECT_EQ(n.Acknowledged, n.Type == QLatin1String("inform"));
}

const QStringList kV2c{QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("public")};
const QStringList kEngine{QStringLiteral("-e"), QStringLiteral("0x80001f8880aa000001")};

INSTANTIATE_TEST_SUITE_P(
    Notifications, Sent,
    ::testing::Values(
        SentCase{"v1LinkDown",
                 "snmptrap",
                 {QStringLiteral("-v1"), QStringLiteral("-c"), QStringLiteral("public")},
                 {QStringLiteral("1.3.6.1.4.1.32473"), QStringLiteral("127.1.2.3"), QStringLiteral("2"),
                  QStringLiteral("0"), QStringLiteral("12345"), QStringLiteral("1.3.6.1.2.1.2.2.1.1.2"),
                  QStringLiteral("i"), QStringLiteral("2")},
                 "v1",
                 "trap",
                 "linkDown",
                 {QStringLiteral("ifIndex.2=2"), QStringLiteral("snmpTrapAddress.0=127.1.2.3"),
                  QStringLiteral("snmpTrapEnterprise.0=1.3.6.1.4.1.32473")}},
        SentCase{"v1Enterprise",
                 "snmptrap",
                 {QStringLiteral("-v1"), QStringLiteral("-c"), QStringLiteral("public")},
                 {QStringLiteral("1.3.6.1.4.1.32473"), QStringLiteral("127.0.0.1"), QStringLiteral("6"),
                  QStringLiteral("17"), QStringLiteral("12345")},
                 "v1",
                 "trap",
                 "1.3.6.1.4.1.32473.0.17",
                 {QStringLiteral("snmpTrapAddress.0=127.0.0.1"),
                  QStringLiteral("snmpTrapEnterprise.0=1.3.6.1.4.1.32473")}},
        SentCase{"v2cAuthenticateFail",
                 "snmptrap",
                 kV2c,
                 {QStringLiteral("12345"), QStringLiteral("1.2.840.10036.1.6.0.3"),
                  QStringLiteral("1.2.840.10036.1.5.1.6.1"), QStringLiteral("x"),
                  QStringLiteral("001A2B3C4D5E"), QStringLiteral("1.2.840.10036.1.5.1.5.1"),
                  QStringLiteral("i"), QStringLiteral("15"), QStringLiteral("1.3.6.1.4.1.99.1.0"),
                  QStringLiteral("s"), QStringLiteral("left, \"quoted\"")},
                 "v2c",
                 "trap",
                 "dot11AuthenticateFail",
                 {QStringLiteral("dot11AuthenticateFailStation.1=00 1A 2B 3C 4D 5E [hex]"),
                  QStringLiteral("dot11AuthenticateFailStatus.1=15"),
                  QStringLiteral("1.3.6.1.4.1.99.1.0=left, \"quoted\"")}},
        SentCase{"v2cTextHexAndOpaqueNumbers",
                 "snmptrap",
                 kV2c,
                 {QStringLiteral("12345"),
                  QStringLiteral("1.3.6.1.6.3.1.1.5.1"),
                  QStringLiteral("1.3.6.1.4.1.99.1.0"),
                  QStringLiteral("s"),
                  QStringLiteral("FF FE"),
                  QStringLiteral("1.3.6.1.4.1.99.2.0"),
                  QStringLiteral("x"),
                  QStringLiteral("FFFE"),
                  QStringLiteral("1.3.6.1.4.1.99.3.0"),
                  QStringLiteral("s"),
                  QString::fromUtf8("a\u202Eb"),
                  QStringLiteral("1.3.6.1.4.1.99.4.0"),
                  QStringLiteral("F"),
                  QStringLiteral("1.5"),
                  QStringLiteral("1.3.6.1.4.1.99.5.0"),
                  QStringLiteral("D"),
                  QStringLiteral("-2.25"),
                  QStringLiteral("1.3.6.1.4.1.99.6.0"),
                  QStringLiteral("I"),
                  QStringLiteral("-5"),
                  QStringLiteral("1.3.6.1.4.1.99.7.0"),
                  QStringLiteral("U"),
                  QStringLiteral("18446744073709551615")},
                 "v2c",
                 "trap",
                 "coldStart",
                 {QStringLiteral("1.3.6.1.4.1.99.1.0=FF FE"),
                  QStringLiteral("1.3.6.1.4.1.99.2.0=FF FE [hex]"),
                  QStringLiteral("1.3.6.1.4.1.99.3.0=61 E2 80 AE 62 [hex]"),
                  QStringLiteral("1.3.6.1.4.1.99.4.0=1.500000"),
                  QStringLiteral("1.3.6.1.4.1.99.5.0=-2.250000"), QStringLiteral("1.3.6.1.4.1.99.6.0=-5"),
                  QStringLiteral("1.3.6.1.4.1.99.7.0=18446744073709551615")}},
        SentCase{"v2cInform",
                 "snmpinform",
                 kV2c,
                 {QStringLiteral("12345"), QStringLiteral("1.3.6.1.6.3.1.1.5.1"),
                  QStringLiteral("1.3.6.1.2.1.1.5.0"), QStringLiteral("s"), QStringLiteral("ap-7")},
                 "v2c",
                 "inform",
                 "coldStart",
                 {QStringLiteral("sysName.0=ap-7")}},
        SentCase{"v3Trap",
                 "snmptrap",
                 NotificationSender::V3Options() + kEngine,
                 {QStringLiteral("12345"), QStringLiteral("1.3.6.1.6.3.1.1.5.4"),
                  QStringLiteral("1.3.6.1.2.1.2.2.1.8.3"), QStringLiteral("i"), QStringLiteral("1")},
                 "v3",
                 "trap",
                 "linkUp",
                 {QStringLiteral("ifOperStatus.3=1")}},
        SentCase{"v3Inform",
                 "snmpinform",
                 NotificationSender::V3Options(),
                 {QStringLiteral("12345"), QStringLiteral("1.3.6.1.6.3.1.1.5.2")},
                 "v3",
                 "inform",
                 "warmStart",
                 {}}),
    RowName());

struct RefusedCase {
    const char* name;
    const char* program;
    QStringList options;
    const char* reason;
    const char* version = "v3";
    bool moduleTakesCommunities = true; // false: an SNMPv3 module started without /C
};

class Refused : public ReceiverTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Refused, IsLoggedWithItsReasonNeverAsValid) {
    const RefusedCase& c = GetParam();
    if (!c.moduleTakesCommunities)
        Receiver.SetTrapCommunity(QString());
    const QStringList linkDown = QLatin1String(c.version) == QLatin1String("v1")
                                     ? QStringList{QStringLiteral("1.3.6.1.4.1.32473"), kHere,
                                                   QStringLiteral("2"), QStringLiteral("0"), QString()}
                                     : QStringList{QString(), QStringLiteral("1.3.6.1.6.3.1.1.5.3")};
    const int status = Sender.Send(QLatin1String(c.program), c.options, Port, linkDown);
    if (QLatin1String(c.program) == QLatin1String("snmpinform")) {
        EXPECT_NE(status, 0) << "a refused inform is not acknowledged";
    }
    ASSERT_TRUE(WaitForCount(1));
    for (const OvNotification& n : Got) {
        EXPECT_EQ(n.Refusal, QLatin1String(c.reason));
        EXPECT_EQ(n.Version, QLatin1String(c.version));
        EXPECT_EQ(n.Source, kHere);
        EXPECT_TRUE(n.Bindings.empty());
        EXPECT_FALSE(n.Acknowledged);
    }
}

const QStringList kJunkV2c{QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("junk")};

INSTANTIATE_TEST_SUITE_P(
    Notifications, Refused,
    ::testing::Values(
        RefusedCase{"unknownUser", "snmptrap",
                    NotificationSender::V3Options("velmarn-auth", "velmarn-priv", "stranger") + kEngine,
                    "Unknown SecurityName!"},
        RefusedCase{"wrongAuthKey", "snmptrap", NotificationSender::V3Options("wrong-auth") + kEngine,
                    "Authentication failure!"},
        RefusedCase{"wrongPrivKey", "snmptrap",
                    NotificationSender::V3Options("velmarn-auth", "wrong-priv") + kEngine,
                    "Decryption error!"},
        RefusedCase{"lowerLevel", "snmptrap",
                    QStringList{QStringLiteral("-v3"), QStringLiteral("-u"), QStringLiteral("velmarn"),
                                QStringLiteral("-l"), QStringLiteral("noAuthNoPriv")} +
                        kEngine,
                    "Unsupported SecurityLevel!"},
        RefusedCase{"informWrongAuthKey", "snmpinform", NotificationSender::V3Options("wrong-auth"),
                    "Authentication failure!"},
        RefusedCase{"v2cTrapOtherCommunity", "snmptrap", kJunkV2c, "Unknown community!", "v2c"},
        RefusedCase{"v2cInformOtherCommunity", "snmpinform", kJunkV2c, "Unknown community!", "v2c"},
        RefusedCase{"v1TrapOtherCommunity",
                    "snmptrap",
                    {QStringLiteral("-v1"), QStringLiteral("-c"), QStringLiteral("junk")},
                    "Unknown community!",
                    "v1"},
        RefusedCase{"v2cToAnSnmpV3Module", "snmpinform", kV2c, "Unknown community!", "v2c", false}),
    RowName());

TEST_F(ReceiverTest, StaleTimeWindowIsRefused) {
    const QStringList engine{QStringLiteral("-e"), QStringLiteral("0x80001f8880bb000002")};
    const QStringList linkDown{QString(), QStringLiteral("1.3.6.1.6.3.1.1.5.3")};
    ASSERT_EQ(Sender.Send(QStringLiteral("snmptrap"),
                          NotificationSender::V3Options() + engine +
                              QStringList{QStringLiteral("-Z"), QStringLiteral("5,1000")},
                          Port, linkDown),
              0);
    ASSERT_TRUE(WaitForCount(1));
    EXPECT_EQ(Got[0].Refusal, QString());
    ASSERT_EQ(Sender.Send(QStringLiteral("snmptrap"),
                          NotificationSender::V3Options() + engine +
                              QStringList{QStringLiteral("-Z"), QStringLiteral("4,1000")},
                          Port, linkDown),
              0);
    ASSERT_TRUE(WaitForCount(2));
    EXPECT_EQ(Got[1].Refusal, QStringLiteral("Message not in TimeWindow!"));
}

TEST_F(ReceiverTest, MadeUpEnginesCostNoKeysAndAReplayedTrapIsRefused) {
    // An authPriv trap as snmptrap sends it, caught on the way.
    QUdpSocket catcher;
    ASSERT_TRUE(catcher.bind(QHostAddress(kHere), 0));
    const QStringList linkDown{QString(), QStringLiteral("1.3.6.1.6.3.1.1.5.3")};
    const QStringList ownEngine{QStringLiteral("-e"),
                                QStringLiteral("0x80001f8880cc000077")}; // no other test's
    ASSERT_EQ(Sender.Send(QStringLiteral("snmptrap"), NotificationSender::V3Options() + ownEngine,
                          catcher.localPort(), linkDown),
              0);
    ASSERT_TRUE(catcher.hasPendingDatagrams() || catcher.waitForReadyRead(2000));
    QByteArray trap(static_cast<int>(catcher.pendingDatagramSize()), '\0');
    catcher.readDatagram(trap.data(), trap.size());
    // The same trap claiming more engines than the receiver keeps keys for: it does not
    // authenticate under any of them.
    const QByteArray engine = QByteArray::fromHex("80001f8880cc000077");
    const int at = static_cast<int>(trap.indexOf(engine));
    ASSERT_GT(at, 0);
    for (int i = 0; i < OvNotificationReceiver::MaxLearntEngines + 6; ++i) {
        QByteArray forged = trap;
        forged[at + engine.size() - 1] = static_cast<char>(0x10 + i);
        SendDatagram(forged);
    }
    ASSERT_TRUE(WaitForCount(OvNotificationReceiver::MaxLearntEngines + 6));
    for (const OvNotification& n : Got)
        EXPECT_FALSE(n.Refusal.isEmpty());
    QThread::msleep(1000); // past the second whose new engines are bounded
    Got.clear();
    SendDatagram(trap); // its engine is new and it authenticates: taken
    SendDatagram(trap); // the same message again: a replay
    ASSERT_TRUE(WaitForCount(2));
    EXPECT_EQ(Got[0].Refusal, QString());
    EXPECT_EQ(Got[0].Name, QStringLiteral("linkDown"));
    EXPECT_EQ(Got[1].Refusal, QStringLiteral("Received same Message twice!"));
}

TEST_F(ReceiverTest, AFloodTheBufferCannotHoldIsCountedNeverSilent) {
    EXPECT_GT(Receiver.ReceiveBuffer(), 200 * 1024);
    EXPECT_EQ(Receiver.KernelDrops(), 0);
    QUdpSocket socket; // while the window thread is busy: nothing is read
    ASSERT_TRUE(socket.bind(QHostAddress(kHere), 0));
    const QByteArray datagram = v2cTrap(QByteArray()) + QByteArray(8000, '\0');
    for (int i = 0; i < 3000; ++i)
        socket.writeDatagram(datagram, QHostAddress(kHere), Port);
    EXPECT_GT(Receiver.KernelDrops(), 0);
}

TEST(NotificationCentre, ADeviceOnIPv6IsListenedForOnIPv6) {
    if (!TSNMPSession::IsCreated())
        TSNMPSession::Create(QString());
    QTemporaryDir folder;
    OvNotificationCentre centre;
    const quint16 port = TestAgent::FreeUdpPort();
    OvSNMPSecurity v2c;
    v2c.Version = 1;
    centre.Start(QStringLiteral("::1"), port, v2c, QStringLiteral("public"), folder.path());
    ASSERT_TRUE(centre.IsListening()) << centre.ListenError().toStdString();
    EXPECT_EQ(centre.ListenText(), QStringLiteral("UDP port %1 (IPv6)").arg(port));
    NotificationSender sender;
    EXPECT_EQ(sender.Send(QStringLiteral("snmpinform"), kV2c, port,
                          {QString(), QStringLiteral("1.3.6.1.6.3.1.1.5.1")}, QStringLiteral("::1")),
              0)
        << "acknowledged over IPv6";
    ASSERT_TRUE(WaitFor([&centre] { return centre.ReceivedCount() == 1; }));
    EXPECT_EQ(centre.RefusedCount(), 0);
}

struct HostileCase {
    const char* name;
    QByteArray datagram;
    const char* reason = "Parse Error!";
};

class Hostile : public ReceiverTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(Hostile, IsRefusedAndTheReceiverGoesOn) {
    SendDatagram(GetParam().datagram);
    ASSERT_TRUE(WaitForCount(1));
    EXPECT_EQ(Got[0].Refusal, QLatin1String(GetParam().reason));
    EXPECT_TRUE(Got[0].Bindings.empty());
    EXPECT_EQ(Got[0].Source, kHere);
    // What follows is received as usual.
    SendDatagram(v2cTrap(QByteArray()));
    ASSERT_TRUE(WaitForCount(2));
    EXPECT_EQ(Got[1].Refusal, QString());
    EXPECT_EQ(Got[1].Name, QStringLiteral("linkDown"));
}

INSTANTIATE_TEST_SUITE_P(
    Notifications, Hostile,
    ::testing::Values(HostileCase{"garbage", QByteArray("\x01\x02garbage\xff\xfe", 11)},
                      HostileCase{"empty", QByteArray(1, '\0')},
                      HostileCase{"truncatedBer", v2cTrap(QByteArray()).left(30)},
                      HostileCase{"lengthPastTheEnd", QByteArray::fromHex("3084ffffff00020101")},
                      HostileCase{"truncatedV3", QByteArray::fromHex("308180020103300f02")},
                      HostileCase{"noTrapOid",
                                  BerElement(0x30, BerElement(0x02, "\x01") + BerElement(0x04, "public") +
                                                       BerElement(char(0xA7),
                                                                  BerElement(0x02, "\x01") +
                                                                      BerElement(0x02, QByteArray(1, '\0')) +
                                                                      BerElement(0x02, QByteArray(1, '\0')) +
                                                                      BerElement(0x30, QByteArray()))),
                                  "The notification has no snmpTrapOID.0!"}),
    RowName());

TEST_F(ReceiverTest, ManyBindingsAreAllKept) {
    // As many bindings as one datagram holds: 9,000 of 1.3 = NULL.
    QByteArray bindings;
    for (int i = 0; i < 9000; ++i)
        bindings += QByteArray::fromHex("3005060 12b0500");
    SendDatagram(v2cTrap(bindings));
    ASSERT_TRUE(WaitForCount(1));
    EXPECT_EQ(Got[0].Refusal, QString());
    EXPECT_EQ(Got[0].Bindings.size(), 9000u);
}

TEST_F(ReceiverTest, OtherAddressesAreCountedNotShown) {
    SendDatagram(v2cTrap(QByteArray()), QStringLiteral("127.0.0.2"));
    SendDatagram(v2cTrap(QByteArray()), QStringLiteral("127.0.0.3"));
    ASSERT_TRUE(WaitFor([this] { return Receiver.ForeignCount() == 2; }));
    EXPECT_TRUE(Receiver.LastForeign().startsWith(QStringLiteral("127.0.0.3:")));
    SendDatagram(v2cTrap(QByteArray()));
    ASSERT_TRUE(WaitForCount(1));
    EXPECT_EQ(Got.size(), 1u);
    EXPECT_EQ(Got[0].Source, kHere);
}

TEST(NotificationReceiver, APortInUseIsRefusedWithTheReason) {
    if (!TSNMPSession::IsCreated())
        TSNMPSession::Create(QString());
    QUdpSocket taken;
    ASSERT_TRUE(taken.bind(QHostAddress(kHere), 0));
    OvNotificationReceiver receiver;
    QString error;
    EXPECT_FALSE(receiver.Listen(kHere, taken.localPort(), error));
    EXPECT_EQ(error, QStringLiteral("Address already in use"));
    EXPECT_FALSE(receiver.IsListening());
}

TEST(UsmHeader, ReadsTheSenderOrRefusesWhatIsCut) {
    // msgVersion 3, msgGlobalData, msgSecurityParameters {engine 80 01, boots 5, time 300, user "u"}.
    const QByteArray params = BerElement(0x30, BerElement(0x04, "\x80\x01") + BerElement(0x02, "\x05") +
                                                   BerElement(0x02, "\x01\x2c") + BerElement(0x04, "u") +
                                                   BerElement(0x04, "") + BerElement(0x04, ""));
    const QByteArray message =
        BerElement(0x30, BerElement(0x02, "\x03") +
                             BerElement(0x30, QByteArray::fromHex("020101020300ffe3040103020103")) +
                             BerElement(0x04, params) + BerElement(0x30, QByteArray()));
    OvUsmHeader h;
    ASSERT_TRUE(OvReadUsmHeader(reinterpret_cast<const unsigned char*>(message.constData()),
                                static_cast<size_t>(message.size()), h));
    EXPECT_EQ(h.Flags, 3);
    EXPECT_EQ(h.EngineId, QByteArray("\x80\x01"));
    EXPECT_EQ(h.Boots, 5u);
    EXPECT_EQ(h.Time, 300u);
    EXPECT_EQ(h.User, QByteArray("u"));
    for (int cut = 0; cut < message.size() - 2; ++cut) {
        OvUsmHeader partial;
        EXPECT_FALSE(OvReadUsmHeader(reinterpret_cast<const unsigned char*>(message.constData()),
                                     static_cast<size_t>(cut), partial))
            << cut;
    }
}

OvNotification sample(int i) {
    OvNotification n;
    n.Time = QDateTime::fromMSecsSinceEpoch(1760000000000LL + i, Qt::UTC);
    n.Source = kHere;
    n.SourcePort = 40000;
    n.Version = QStringLiteral("v2c");
    n.Type = i % 2 ? QStringLiteral("inform") : QStringLiteral("trap");
    n.Acknowledged = i % 2;
    n.Oid = QStringLiteral("1.3.6.1.6.3.1.1.5.3");
    n.Name = QStringLiteral("linkDown");
    n.Uptime = QStringLiteral("0:00:01.00");
    n.Bindings = {{QStringLiteral("1.3.6.1.2.1.2.2.1.1.2"), QStringLiteral("ifIndex.2"),
                   QStringLiteral("INTEGER"), QString::number(i)},
                  {QStringLiteral("1.3.6.1.4.1.99"), QStringLiteral("1.3.6.1.4.1.99"),
                   QStringLiteral("OCTET STRING"), QStringLiteral("line\nbreak \"quoted\"")}};
    if (i % 7 == 0)
        n.Refusal = QStringLiteral("Authentication failure!");
    return n;
}

TEST(NotificationLog, RotatesKeepingWholeLinesThatReadBackEqual) {
    QTemporaryDir dir;
    OvNotificationLog log(QStringLiteral("10.0.0.7/../x"), dir.path(), 4000, 3);
    EXPECT_EQ(QFileInfo(log.Path()).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
    std::vector<OvNotification> written;
    for (int i = 0; i < 60; ++i) {
        written.push_back(sample(i));
        QString error;
        ASSERT_TRUE(log.Append(written.back(), error)) << error;
    }
    const QStringList older = log.OlderPaths();
    ASSERT_EQ(older.size(), 2) << "three files in all";
    std::vector<OvNotification> read;
    for (const QString& path : {older[1], older[0], log.Path()}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_LE(bytes.size(), 4000);
        EXPECT_TRUE(bytes.endsWith('\n'));
        const auto part = OvNotificationLog::Read(path, 100000);
        EXPECT_EQ(static_cast<int>(part.size()), bytes.count('\n'));
        read.insert(read.end(), part.begin(), part.end());
    }
    ASSERT_FALSE(read.empty());
    const std::vector<OvNotification> tail(written.end() - static_cast<long>(read.size()), written.end());
    EXPECT_TRUE(read == tail);
    EXPECT_EQ(OvNotificationLog::Read(log.Path(), 2).size(), 2u);
}

// Every line of the log files in folder, each checked to be one whole notification.
int wholeLines(const QString& folder, qint64 maxBytes) {
    int lines = 0;
    for (const QFileInfo& f : QDir(folder).entryInfoList({QStringLiteral("notifications-*")}, QDir::Files)) {
        QFile file(f.filePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_LE(bytes.size(), maxBytes) << f.fileName().toStdString();
        EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith('\n')) << f.fileName().toStdString();
        for (const QByteArray& line : bytes.split('\n'))
            if (!line.isEmpty()) {
                EXPECT_TRUE(QJsonDocument::fromJson(line).isObject()) << line.constData();
                ++lines;
            }
    }
    return lines;
}

TEST(NotificationLog, NeverBreaksALineFollowsALinkWaitsOnAPipeOrGrowsPastItsSize) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state/velmarn"));
    OvNotificationLog first(kHere, folder, 4000, 3);
    OvNotificationLog second(kHere, folder, 4000, 3); // another module for the same device
    QString error;
    for (int i = 0; i < 120; ++i)
        ASSERT_TRUE((i % 3 ? first : second).Append(sample(i), error)) << error;
    auto mode = [](const QString& path) {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        return st.st_mode & 0777;
    };
    EXPECT_EQ(mode(folder), 0700u);
    EXPECT_EQ(mode(first.Path()), 0600u);
    EXPECT_FALSE(OvMakePrivateFolder(first.Path() + QStringLiteral("/below"), error)); // the real cause
    EXPECT_EQ(error, QStringLiteral("Not a directory"));
    EXPECT_EQ(first.OlderPaths().size(), 2);
    EXPECT_GT(wholeLines(folder, 4000), 0);

    // A file size limit in the middle of a line: the line goes, the file stays whole.
    OvStartProcess();
    QFile::remove(first.Path());
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = 2500;
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool refused = false;
    for (int i = 0; i < 20 && !refused; ++i)
        refused = !first.Append(sample(i), error);
    ::setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_TRUE(refused);
    EXPECT_EQ(error, QStringLiteral("File too large"));
    EXPECT_LE(QFileInfo(first.Path()).size(), 2500);
    EXPECT_GT(wholeLines(folder, 4000), 0); // and every line in every file whole

    // A link at the log's path is not followed, a pipe not waited on.
    QFile::remove(first.Path());
    QFile other(dir.filePath(QStringLiteral("other")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    ASSERT_TRUE(QFile::link(other.fileName(), first.Path()));
    OvNotificationLog linked(kHere, folder);
    EXPECT_FALSE(linked.Append(sample(1), error));
    EXPECT_EQ(error, QStringLiteral("it is a symbolic link, which is not followed"));
    EXPECT_EQ(QFileInfo(other.fileName()).size(), 0);
    QFile::remove(first.Path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(first.Path()).constData(), 0600), 0);
    OvNotificationLog piped(kHere, folder);
    EXPECT_TRUE(OvNotificationLog::Read(first.Path(), 10).empty());
    EXPECT_FALSE(piped.Append(sample(1), error));
    EXPECT_EQ(error, QStringLiteral("it is not a regular file"));
}

TEST(NotificationLog, ItsLineIsTheJsonObjectOfTheNotification) {
    QString everyControl = QStringLiteral("\\\"");
    for (char16_t c = 0; c < 0x20; ++c)
        everyControl += QChar(c);
    for (int i : {0, 1, 7}) {
        OvNotification n = sample(i);
        n.User = QStringLiteral("us\u00e9r") + everyControl;
        n.Bindings.push_back({QStringLiteral("1.3.6.1.4.1.99.1.0"), QStringLiteral("x"),
                              QStringLiteral("OCTET STRING"), QStringLiteral("FF FE"), i == 1});
        const QByteArray line = n.ToJsonLine();
        EXPECT_TRUE(line.endsWith('\n'));
        EXPECT_EQ(line.count('\n'), 1);
        EXPECT_EQ(QJsonDocument::fromJson(line).object(), n.ToJson()) << line.constData();
        const OvNotification read = OvNotification::FromJson(QJsonDocument::fromJson(line).object());
        EXPECT_TRUE(read == n) << line.constData();
        EXPECT_EQ(read.Bindings.back().Hex, i == 1) << line.constData();
    }
}

TEST(NotificationModel, KeepsTheNewestOnTopAndAtMostItsLimit) {
    OvNotificationModel model;
    for (int i = 0; i < OvNotificationModel::MaxRows + 5; ++i)
        model.Add(sample(i));
    model.SetPaused(true);
    model.Flush();
    EXPECT_EQ(model.rowCount(), 0) << "paused";
    model.SetPaused(false);
    EXPECT_EQ(model.rowCount(), OvNotificationModel::MaxRows);
    EXPECT_EQ(model.At(0).Bindings[0].Value, QString::number(OvNotificationModel::MaxRows + 4));
    model.Add(sample(-1));
    model.Flush();
    EXPECT_EQ(model.rowCount(), OvNotificationModel::MaxRows);
    EXPECT_EQ(model.At(0).Bindings[0].Value, QStringLiteral("-1"));
    const QByteArray csv = model.ToCsv({0});
    EXPECT_EQ(csv.count("\r\n"), 2) << "a header and a row";
    EXPECT_TRUE(csv.contains("\"ifIndex.2 = -1; 1.3.6.1.4.1.99 = line\nbreak \"\"quoted\"\"\""));

    // A row shows the first bindings of a large notification, and the rows fit in their bytes.
    OvNotification large = sample(3);
    large.Bindings.assign(9000, {QStringLiteral("1.3"), QStringLiteral("1.3"), QStringLiteral("OCTET STRING"),
                                 QString(2000, QLatin1Char('x'))});
    model.Clear();
    for (int i = 0; i < 300; ++i)
        model.Add(large);
    model.Flush();
    ASSERT_GT(model.rowCount(), 0);
    EXPECT_LT(model.rowCount(), 300);
    EXPECT_GT(model.rowCount(), 100); // 64 MB of rows of 101 bindings of 4 kB each
    ASSERT_EQ(model.At(0).Bindings.size(), 101u);
    EXPECT_EQ(model.At(0).Bindings.back().Value, QStringLiteral("and 8,900 more bindings: see the log"));
}

} // namespace
