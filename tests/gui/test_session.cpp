#include "app/TMainForm.h"
#include "binding/OvFeedback.h"
#include "errors/OvErrors.h"
#include "snmp/OvBootCounter.h"
#include "snmp/TSNMPSession.h"
#include "snmp/OvSNMPEngine.h"

#include "TestSupport.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
const QByteArray kId("OvSNMP_PP_Application");

// Each test runs in a fresh current directory with no session.
class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Previous = QDir::currentPath();
        QDir::setCurrent(Dir.path());
        TSNMPSession::ResetForTesting();
        OvFeedback::SetTestMode(true);
    }
    void TearDown() override {
        TSNMPSession::ResetForTesting();
        QDir::setCurrent(Previous);
    }
    quint32 storedBoots() {
        quint32 boots = 0;
        OvBootCounter::Load(QStringLiteral("OvSNMP_PP_BootCounter"), kId, boots);
        return boots;
    }
    QTemporaryDir Dir;
    QString Previous;
};
} // namespace

TEST_F(SessionTest, FirstRunCreatesFileWithOneAndDefaults) {
    const QString app = QCoreApplication::applicationName();
    const QStringList pattern{(app.isEmpty() ? QStringLiteral("qt_temp") : app) + QStringLiteral("-*")};
    const QStringList before = QDir::temp().entryList(pattern, QDir::Dirs);
    TSNMPSession::Create(QString());
    EXPECT_TRUE(QFile::exists(QStringLiteral("OvSNMP_PP_BootCounter")));
    EXPECT_EQ(storedBoots(), 1u);
    const OvSNMPTarget& t = TSNMPSession::DefaultTarget();
    EXPECT_EQ(t.Device.Address, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(t.Device.Port, 161);
    EXPECT_EQ(t.Security.Version, 0);
    EXPECT_EQ(t.Security.ReadCommunity, QStringLiteral("qubsen"));
    EXPECT_EQ(t.Security.WriteCommunity, QStringLiteral("vortani"));
    EXPECT_EQ(t.Security.SecurityModel, 1);
    EXPECT_EQ(t.Security.SecurityLevel, 1);
    EXPECT_EQ(t.Security.AuthProtocol, 1);
    EXPECT_EQ(t.Security.PrivProtocol, 1);
    EXPECT_TRUE(t.Security.SecurityName.isEmpty());
    ASSERT_NE(TSNMPSession::EventTimer(), nullptr);
    EXPECT_TRUE(TSNMPSession::EventTimer()->isActive());
    EXPECT_EQ(TSNMPSession::EventTimer()->interval(), 20);
    // The SNMP library's private folder is gone as soon as the library has started.
    EXPECT_EQ(QDir::temp().entryList(pattern, QDir::Dirs), before);
}

TEST_F(SessionTest, StoredCountIsIncrementedAndReachesTheLibrary) {
    ASSERT_EQ(OvBootCounter::Save(QStringLiteral("OvSNMP_PP_BootCounter"), kId, 41), 0);
    TSNMPSession::Create(QString());
    EXPECT_EQ(storedBoots(), 42u);
    EXPECT_EQ(TSNMPSession::EngineBoots(), 42u);
    EXPECT_EQ(OvSNMPEngine::LibraryEngineBoots(), 42u);
}

TEST_F(SessionTest, ReadOnlyFileRaises508AndKeepsEmptyTarget) {
    ASSERT_EQ(OvBootCounter::Save(QStringLiteral("OvSNMP_PP_BootCounter"), kId, 5), 0);
    QFile::setPermissions(QStringLiteral("OvSNMP_PP_BootCounter"), QFile::ReadOwner);
    const Raised raised = RaisedBy([&] { TSNMPSession::Create(QString()); });
    EXPECT_EQ(raised.Code, -508);
    EXPECT_EQ(raised.Message,
              QStringLiteral("Error when saving SNMP engine boots counter! %1 is read-only.")
                  .arg(QDir::current().absoluteFilePath(QStringLiteral("OvSNMP_PP_BootCounter"))));
    EXPECT_TRUE(TSNMPSession::DefaultTarget().Device.Address.isEmpty());
    EXPECT_EQ(storedBoots(), 5u);
}

TEST_F(SessionTest, MalformedEntryRaises507) {
    QFile f(QStringLiteral("OvSNMP_PP_BootCounter"));
    f.open(QIODevice::WriteOnly);
    f.write((OvBootCounter::EncodeEngineId(kId) + QStringLiteral(" lots\n")).toLatin1());
    f.close();
    const Raised raised = RaisedBy([&] { TSNMPSession::Create(QString()); });
    EXPECT_EQ(raised.Code, -507);
    EXPECT_TRUE(raised.Message.startsWith(QStringLiteral("Error when loading SNMP engine boots counter! /")))
        << raised.Message;
}

TEST_F(SessionTest, MainWindowWithoutArgumentsSaysSoAndStillCountsBoots) {
    OvFeedback::TakeShown();
    TMainForm form(QStringList{});
    const auto shown = OvFeedback::TakeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].Text, QStringLiteral("No parameter input"));
    EXPECT_TRUE(form.EndsAtStart());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Velmarn +"));
    EXPECT_EQ(storedBoots(), 1u);
}

TEST_F(SessionTest, MainWindowCaptionNamesTheAddress) {
    TMainForm form(QStringList{QStringLiteral("/I127.0.0.50"), QStringLiteral("/Rr")});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Velmarn + : 127.0.0.50"));
    EXPECT_EQ(form.AddressText, QStringLiteral("127.0.0.50"));
    EXPECT_EQ(form.ReadCommunityText, QStringLiteral("r"));
    EXPECT_TRUE(form.WriteCommunityText.isEmpty());
    EXPECT_EQ(TSNMPSession::DefaultTarget().Device.Address, QStringLiteral("127.0.0.50"));
    EXPECT_EQ(TSNMPSession::DefaultTarget().Security.WriteCommunity, QStringLiteral("vortani"));
}

TEST_F(SessionTest, MainWindowWithBadNumberRaisesConversionError) {
    try {
        TMainForm form(QStringList{QStringLiteral("/tabc")});
        FAIL() << "window built";
    } catch (const OvConvertError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("'abc' is not a valid integer value"));
    }
}

TEST_F(SessionTest, LowerCaseAddressMarkerLeavesCaptionEmptyAddress) {
    TMainForm form(QStringList{QStringLiteral("/i127.1.1.1")});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Velmarn + : "));
    EXPECT_EQ(TSNMPSession::DefaultTarget().Device.Address, QStringLiteral("127.0.0.1"));
}
