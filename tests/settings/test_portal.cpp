#include "settings/uAppearance.h"
#include "settings/uFMXUtils.h"
#include "tests/settings/QtThreadsTsan.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// The stand-in portal on a bus of its own, started with dbus-run-session and
// torn down with it.
class TPrivatePortal {
 public:
  explicit TPrivatePortal(const QStringList& args) {
    FProcess.start("dbus-run-session",
                   QStringList{"--config-file=" PRIVATE_BUS_CONF, "--", FAKE_PORTAL} + args);
    QStringList lines;
    while (!lines.contains("ready") && FProcess.waitForReadyRead(10000))
      while (FProcess.canReadLine()) lines << QString::fromUtf8(FProcess.readLine()).trimmed();
    if (lines.size() == 2 && lines[1] == "ready")
      FAddress = lines[0];
    else  // the bus's own chatter is shown only when something went wrong
      ADD_FAILURE() << "stand-in portal: " << FProcess.readAllStandardError().constData();
  }
  ~TPrivatePortal() {
    QDBusConnection::disconnectFromBus(ConnectionName);
    FProcess.closeWriteChannel();  // the stand-in quits, and its bus with it
    if (!FProcess.waitForFinished(5000)) FProcess.kill(), FProcess.waitForFinished();
  }
  const QString& Address() const { return FAddress; }
  QDBusConnection Bus() const { return QDBusConnection::connectToBus(FAddress, ConnectionName); }

 private:
  static inline const QString ConnectionName = QStringLiteral("portal-test");
  QProcess FProcess;
  QString FAddress;
};

TEST(PortalAppearance, ReadsAccentAndSchemeFromThePortal) {
  struct {
    QStringList Args;
    std::optional<QRgb> Accent;
    std::optional<bool> IsLight;
  } const cases[] = {
      {{"--accent", "0,0.470588,0.843137", "--scheme", "1"}, 0xFF0078D7, false},
      {{"--accent", "1,1,1", "--scheme", "2"}, 0xFFFFFFFF, true},
      {{"--accent", "0,0.6353,0.9294", "--scheme", "0"}, 0xFF00A2ED, std::nullopt},  // no preference
      {{"--scheme", "1"}, std::nullopt, false},                                    // no accent set
      {{"--accent", "-1,-1,-1"}, std::nullopt, std::nullopt},                      // "unset" accent
      {{"--accent-text", "--scheme", "7"}, std::nullopt, std::nullopt},            // wrong type, unknown scheme
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(qPrintable(c.Args.join(' ')));
    TPrivatePortal portal(c.Args);
    ASSERT_FALSE(portal.Address().isEmpty()) << "the stand-in portal did not start";
    const TSystemAppearance read = TPortalAppearance(portal.Bus()).Read();
    EXPECT_EQ(read.Accent, c.Accent);
    EXPECT_EQ(read.IsLight, c.IsLight);
  }
}

TEST(PortalAppearance, GivesUpQuicklyOnASilentOrMissingPortal) {
  // Bounded so that start-up never waits on the bus; the stand-in would answer
  // only after five seconds.
  for (const QStringList& args : {QStringList{"--accent", "0,0,1", "--scheme", "1", "--delay", "5000"},
                                  QStringList{"--no-name"}}) {
    SCOPED_TRACE(qPrintable(args.join(' ')));
    TPrivatePortal portal(args);
    ASSERT_FALSE(portal.Address().isEmpty());
    QElapsedTimer clock;
    clock.start();
    const TSystemAppearance read = TPortalAppearance(portal.Bus(), 200).Read();
    EXPECT_LT(clock.elapsed(), 2000) << "the read was not bounded";
    EXPECT_FALSE(read.Accent);
    EXPECT_FALSE(read.IsLight);
  }
  const TSystemAppearance none = TPortalAppearance(QDBusConnection(QStringLiteral("never-connected"))).Read();
  EXPECT_FALSE(none.Accent);
  EXPECT_FALSE(none.IsLight);
}

// Sets an environment variable for one scope.
class TEnv {
 public:
  TEnv(const char* name, const QByteArray& value) : FName(name), FOld(qgetenv(name)), FHad(qEnvironmentVariableIsSet(name)) {
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
  }
  ~TEnv() { FHad ? qputenv(FName, FOld) : qunsetenv(FName); }

 private:
  const char* FName;
  QByteArray FOld;
  bool FHad;
};

TEST(PortalAppearance, StartUpReadsTheSessionBusPortalOrFallsBack) {
  SetAppearanceProvider(nullptr);
  DarkMode = 0;
  {
    TPrivatePortal portal({"--accent", "0,0.470588,0.843137", "--scheme", "1"});
    ASSERT_FALSE(portal.Address().isEmpty());
    TEnv bus("DBUS_SESSION_BUS_ADDRESS", portal.Address().toUtf8());
    InitTheme();
    EXPECT_EQ(AccentColor, 0xFF0078D7u);
    EXPECT_FALSE(IsSysLight);
    EXPECT_FALSE(IsLightMode);
  }
  // No session bus at all: the defaults, and no bus gets started for us.
  QTemporaryDir runtime;
  TEnv bus("DBUS_SESSION_BUS_ADDRESS", QByteArray());
  TEnv dir("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  InitTheme();
  EXPECT_EQ(AccentColor, 0xFF00A2EDu);
  EXPECT_TRUE(IsSysLight);
  EXPECT_TRUE(IsLightMode);
}

TEST(PortalAppearance, TurnsPortalDoublesIntoAnOpaqueColour) {
  EXPECT_EQ(PortalAccentToColor(0, 0.470588, 0.843137), 0xFF0078D7u);
  EXPECT_EQ(PortalAccentToColor(0.5, 0.5, 0.5), 0xFF808080u);  // 127.5 rounds up
  EXPECT_EQ(PortalAccentToColor(0, 0, 0), 0xFF000000u);
  EXPECT_FALSE(PortalAccentToColor(1.01, 0, 0));
  EXPECT_FALSE(PortalAccentToColor(0, -0.1, 0));
  EXPECT_FALSE(PortalAccentToColor(0, 0, std::nan("")));
}

}  // namespace
