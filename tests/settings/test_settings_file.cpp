#include "settings/uFMXUtils.h"
#include "settings/uSettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& data) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(data);
}

struct TValues {
  uint8_t Dark;
  int32_t Font;
  bool JA;
  bool operator==(const TValues&) const = default;
};
std::ostream& operator<<(std::ostream& os, const TValues& v) {
  return os << "{DarkMode " << int(v.Dark) << ", FontSize " << v.Font << ", isSetJA " << v.JA << "}";
}

constexpr TValues Startup{0, 0, true};
constexpr TValues Changed{2, 3, false};

TEST(SettingsLoad, ReadsTheRulesOfEachValue) {
  struct {
    const char* Name;
    const char* Content;  // nullptr: no file
    TValues Before, After;
  } const cases[] = {
      {"missing file", nullptr, Startup, Startup},
      {"missing file keeps values", nullptr, Changed, Changed},
      {"plain", "[System]\nDarkMode=1\nFontSize=4\nisSetJA=0\n", Startup, {1, 4, false}},
      {"case-mixed names", "[sYsTeM]\ndarkmode=2\nFONTSIZE=3\nIsSetJa=0\n", Startup, {2, 3, false}},
      {"spaces around names and values", "  [ System ]\n  DarkMode = 2 \n\tFontSize\t=\t1\n", Startup, {2, 1, true}},
      {"font size above the range", "[System]\nFontSize=9\n", Startup, {0, 5, true}},
      {"font size below the range", "[System]\nFontSize=-3\n", Changed, {2, 0, false}},
      {"huge font size", "[System]\nFontSize=99999999999\n", Startup, {0, 5, true}},
      {"unknown dark mode is Auto", "[System]\nDarkMode=7\n", Changed, {0, 3, false}},
      {"non-numeric at start", "[System]\nDarkMode=dark\nisSetJA=yes\n", Startup, Startup},
      {"non-numeric keeps the current value",
       "[System]\nDarkMode=dark\nFontSize=\nisSetJA=no\n", Changed, Changed},
      {"not decimal", "[System]\nDarkMode=0x2\nFontSize=1.5\nisSetJA=1e3\n", Changed, Changed},
      {"signed decimal", "[System]\nDarkMode=+2\nFontSize=+1\nisSetJA=-1\n", {0, 0, false}, {2, 1, true}},
      {"other sections do not count", "[Other]\nDarkMode=2\n[System]\nFontSize=1\n[More]\nisSetJA=0\n",
       Startup, {0, 1, true}},
      {"first of two keys wins", "[System]\nDarkMode=1\nDarkMode=2\n", Startup, {1, 0, true}},
      {"BOM and CRLF", "\xEF\xBB\xBF[System]\r\nDarkMode=2\r\nFontSize=2\r\n", Startup, {2, 2, true}},
      {"comments are not keys", "[System]\n;DarkMode=2\n#FontSize=2\n", Startup, Startup},
      {"junk lines", "\x01\xFF[System\n=\n==\n[System]\nDarkMode=1", Startup, {1, 0, true}},
  };
  QTemporaryDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const QString file = dir.filePath(QStringLiteral("quennel.ini"));
    QFile::remove(file);
    if (c.Content) WriteAll(file, c.Content);
    DarkMode = c.Before.Dark;
    FontSize = c.Before.Font;
    isSetJA = c.Before.JA;
    LoadSettingsFrom(file);
    EXPECT_EQ((TValues{DarkMode, FontSize, isSetJA}), c.After);
    if (!c.Content) EXPECT_FALSE(QFileInfo::exists(file)) << "loading must not create the file";
  }
  DarkMode = 0, FontSize = 0, isSetJA = true;
}

TEST(SettingsSave, ChangesTheTwoKeysAndKeepsEverythingElse) {
  struct {
    const char* Name;
    const char* Before;  // nullptr: no file
    uint8_t Dark;
    int32_t Font;
    const char* After;
  } const cases[] = {
      {"first exit creates the file", nullptr, 0, 0, "[System]\nDarkMode=0\nFontSize=0\n"},
      {"other keys, sections, comments and isSetJA stay",
       "; written by hand\n[Window]\nLeft=10\n\n[system]\nisSetJA=0\ndarkmode = 1\nExtra=x\n\n[Last]\nk=v\n", 2, 4,
       "; written by hand\n[Window]\nLeft=10\n\n[system]\nisSetJA=0\ndarkmode = 2\nExtra=x\nFontSize=4\n\n[Last]\nk=v\n"},
      {"section added when missing", "[Other]\nk=v", 1, 5, "[Other]\nk=v\n[System]\nDarkMode=1\nFontSize=5\n"},
      {"BOM and CRLF kept", "\xEF\xBB\xBF[System]\r\nFontSize=1\r\n", 2, 3,
       "\xEF\xBB\xBF[System]\r\nFontSize=3\r\nDarkMode=2\r\n"},
      {"bytes that are not UTF-8 kept", "[Other]\nname=\xFF\xFE caf\xC3\xA9\n[System]\nDarkMode=1\n", 0, 2,
       "[Other]\nname=\xFF\xFE caf\xC3\xA9\n[System]\nDarkMode=0\nFontSize=2\n"},
      {"only the first of two keys changes", "[System]\nDarkMode=1\nDarkMode=1\n", 2, 0,
       "[System]\nDarkMode=2\nDarkMode=1\nFontSize=0\n"},
  };
  QTemporaryDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const QString file = dir.filePath(QStringLiteral("quennel.ini"));
    QFile::remove(file);
    if (c.Before) WriteAll(file, c.Before);
    DarkMode = c.Dark;
    FontSize = c.Font;
    SaveSettingsTo(file);
    EXPECT_EQ(ReadAll(file).toStdString(), std::string(c.After));
    // What was saved reads back, and nothing but the file was left in the folder.
    DarkMode = 9, FontSize = -1;
    LoadSettingsFrom(file);
    EXPECT_EQ(DarkMode, c.Dark);
    EXPECT_EQ(FontSize, c.Font);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quennel.ini"});
  }
  DarkMode = 0, FontSize = 0, isSetJA = true;
}

TEST(SettingsFileName, SitsBesideTheExecutableWithTheExtensionReplaced) {
  QTemporaryDir dir;
  const QString d = dir.path();
  EXPECT_EQ(SettingsFileNameFor(d + "/quennel"), d + "/quennel.ini");
  EXPECT_EQ(SettingsFileNameFor(d + "/quennel.bin"), d + "/quennel.ini");
  EXPECT_EQ(SettingsFileNameFor(d + "/my.player.exe"), d + "/my.player.ini");
  // A dot in the folder is no extension.
  ASSERT_TRUE(QDir(d).mkdir("v1.2"));
  EXPECT_EQ(SettingsFileNameFor(d + "/v1.2/quennel"), d + "/v1.2/quennel.ini");
  EXPECT_EQ(SettingsFileName(), SettingsFileNameFor(QCoreApplication::applicationFilePath()));
}

// Runs the probe as an unprivileged user, so folder permissions bind even when
// the tests run as root.
std::string RunProbe(const QStringList& args, const QString& configHome) {
  QProcess probe;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", configHome);
  probe.setProcessEnvironment(env);
  if (::geteuid() == 0)
    probe.start("setpriv", QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", "--", SETTINGS_PROBE} + args);
  else
    probe.start(SETTINGS_PROBE, args);
  if (!probe.waitForFinished(30000)) return "<probe hung>";
  return (probe.readAllStandardOutput().trimmed() + probe.readAllStandardError()).toStdString();
}

class SettingsReadOnlyFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FRoot.isValid());
    // The unprivileged probe must reach into the temporary folder.
    QFile::setPermissions(FRoot.path(), QFileDevice::Permissions(0x7755));
    FApp = FRoot.filePath("app");
    FConfig = FRoot.filePath("config");
    ASSERT_TRUE(QDir().mkpath(FApp));
    ASSERT_TRUE(QDir().mkpath(FConfig));
    QFile::setPermissions(FApp, QFileDevice::Permissions(0x7777));
    QFile::setPermissions(FConfig, QFileDevice::Permissions(0x7777));
  }
  // Qt spells modes in hex digits: 0x5555 is r-x for everyone.
  void LockApp() { QFile::setPermissions(FApp, QFileDevice::Permissions(0x5555)); }
  void TearDown() override { QFile::setPermissions(FApp, QFileDevice::Permissions(0x7777)); }

  QTemporaryDir FRoot;
  QString FApp, FConfig;
};

TEST_F(SettingsReadOnlyFolder, FallsBackToTheConfigFolderUnlessAWritableFileIsThere) {
  const QString exe = FApp + "/quennel";
  const QString beside = FApp + "/quennel.ini";
  const QString fallback = FConfig + "/quennel/quennel.ini";
  const std::string ok = "ok";

  EXPECT_EQ(RunProbe({"name", exe}, FConfig), beside.toStdString());  // writable: beside the program

  LockApp();
  EXPECT_EQ(RunProbe({"name", exe}, FConfig), fallback.toStdString());
  // The fallback folder is created on the first save.
  EXPECT_EQ(RunProbe({"save", fallback, "2", "4"}, FConfig), ok);
  EXPECT_EQ(ReadAll(fallback), "[System]\nDarkMode=2\nFontSize=4\n");

  // A file in the read-only folder that we may write is still ours; it is
  // written in place because no temporary file can go beside it.
  QFile::setPermissions(FApp, QFileDevice::Permissions(0x7777));
  WriteAll(beside, "[System]\nisSetJA=0\n");
  QFile::setPermissions(beside, QFileDevice::Permissions(0x6666));
  LockApp();
  EXPECT_EQ(RunProbe({"name", exe}, FConfig), beside.toStdString());
  EXPECT_EQ(RunProbe({"save", beside, "1", "2"}, FConfig), ok);
  EXPECT_EQ(ReadAll(beside), "[System]\nisSetJA=0\nDarkMode=1\nFontSize=2\n");

  // A file there that we may not write sends us to the config folder.
  QFile::setPermissions(beside, QFileDevice::Permissions(0x4444));
  EXPECT_EQ(RunProbe({"name", exe}, FConfig), fallback.toStdString());
  EXPECT_EQ(RunProbe({"name", exe}, "relative/config"),
            (QDir::homePath() + "/.config/quennel/quennel.ini").toStdString())
      << "a relative XDG_CONFIG_HOME is ignored";
}

TEST_F(SettingsReadOnlyFolder, AFailedSaveNamesTheFileAndTheReasonAndKeepsTheOldFile) {
  const QString file = FApp + "/quennel.ini";
  WriteAll(file, "[System]\nDarkMode=1\n");
  QFile::setPermissions(file, QFileDevice::Permissions(0x4444));
  LockApp();
  const std::string answer = RunProbe({"save", file, "2", "5"}, FConfig);
  EXPECT_NE(answer.find(file.toStdString()), std::string::npos) << answer;
  EXPECT_NE(answer.find("not writable"), std::string::npos) << answer;  // the reason
  EXPECT_EQ(ReadAll(file), "[System]\nDarkMode=1\n");
}

TEST(SettingsSaveFailure, AWriteThatFailsHalfwayLeavesTheOldFileWhole) {
  // A file-size limit makes the write fail part of the way through, as a full
  // disk would, for root as for anyone.
  QTemporaryDir dir;
  const QString file = dir.filePath("quennel.ini");
  QByteArray old = "[System]\nDarkMode=1\nFontSize=2\n[Notes]\n";
  for (int i = 0; i < 400; ++i) old += "note" + QByteArray::number(i) + "=something worth keeping\n";
  WriteAll(file, old);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit limited = saved;
  limited.rlim_cur = 4096;
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  DarkMode = 2;
  std::string message;
  try {
    SaveSettingsTo(file);
  } catch (const std::runtime_error& e) {
    message = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  DarkMode = 0;

  EXPECT_NE(message.find(file.toStdString()), std::string::npos) << message;
  EXPECT_NE(message.find("large"), std::string::npos) << message;  // "File too large"
  EXPECT_EQ(ReadAll(file), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"quennel.ini"});
}

TEST(SettingsSaveFailure, AFileThatCannotBeReadIsNotOverwritten) {
  // Saving without the old content would silently drop the user's other lines.
  QTemporaryDir dir;
  const QString file = dir.filePath("quennel.ini");
  ASSERT_TRUE(QDir().mkdir(file));
  ASSERT_TRUE(QDir().mkdir(file + "/inside"));
  try {
    SaveSettingsTo(file);
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(file.toStdString()), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("folder"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(QFileInfo(file + "/inside").isDir());
}

}  // namespace
