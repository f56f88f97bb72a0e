#pragma once
// Shared by the setup dialog and About window tests.
//
// The program keeps its settings file beside its executable. So that a test
// never writes beside a real build product, and parallel test processes never
// share one file, each test process first copies its own executable into a
// fresh temporary folder and runs from there (DIALOGTEST_MAIN below).
//
// The interface language is read from the environment once per process, so
// language cases run the same executable again as a child process with
// LC_ALL set (RunLanguageChild).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <string>

namespace dialogtest {

constexpr const char* HomeVar = "QUENNEL_DIALOGTEST_HOME";

// Runs a copy of this executable in a temporary folder with the same
// arguments and answers its exit status; -1 when this process already is
// that copy.
inline int RunFromTemporaryCopy(char** argv) {
  if (std::getenv(HomeVar)) return -1;
  namespace fs = std::filesystem;
  char tmpl[] = "/tmp/quennel-dialogtest-XXXXXX";
  if (!mkdtemp(tmpl)) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path home = tmpl;
  const fs::path self = fs::read_symlink("/proc/self/exe");
  const fs::path copy = home / self.filename();
  std::error_code ec;
  fs::copy_file(self, copy, ec);
  if (ec) {
    std::fprintf(stderr, "cannot copy %s: %s\n", self.c_str(), ec.message().c_str());
    return 1;
  }
  setenv(HomeVar, home.c_str(), 1);
  // An installed-style fallback must land in the temporary folder too.
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);

  int status = 1;
  const pid_t pid = fork();
  if (pid == 0) {
    execv(copy.c_str(), argv);
    std::perror("execv");
    _exit(127);
  }
  if (pid > 0) {
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    status = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
  }
  fs::remove_all(home, ec);
  return status;
}

struct ChildResult {
  int exitCode = -1;
  QString output;
};

// Runs the tests matching FILTER in a child process of this executable with
// the given locale and the extra variables (NAME=VALUE) set.
inline ChildResult RunLanguageChild(const QString& filter, const QString& locale,
                                    const QStringList& extra) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), locale);
  env.insert(QStringLiteral("LANG"), locale);
  env.insert(QStringLiteral("QUENNEL_DIALOGTEST_CHILD"), QStringLiteral("1"));
  for (const QString& kv : extra)
    env.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=") + filter});
  ChildResult r;
  if (!child.waitForFinished(60000)) {
    child.kill();
    child.waitForFinished();
    r.output = QStringLiteral("child timed out");
    return r;
  }
  r.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
  r.output = QString::fromUtf8(child.readAll());
  return r;
}

// True in a child started by RunLanguageChild; its tests skip otherwise.
inline bool IsLanguageChild() { return std::getenv("QUENNEL_DIALOGTEST_CHILD") != nullptr; }

// One language case: the system locale, the isSetJA switch and whether the
// Japanese texts are expected.
struct LanguageCase {
  const char* locale;
  bool setJA, wantJA;
};

// Runs the child test FILTER once per case; each child reads the case from
// QUENNEL_TEST_SETJA and QUENNEL_TEST_WANTJA and must pass its one test.
inline void ExpectLanguageChildren(const QString& filter, std::initializer_list<LanguageCase> cases) {
  for (const LanguageCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.locale << " isSetJA " << c.setJA);
    const ChildResult r = RunLanguageChild(filter, QString::fromLatin1(c.locale),
                                           {QStringLiteral("QUENNEL_TEST_SETJA=%1").arg(c.setJA),
                                            QStringLiteral("QUENNEL_TEST_WANTJA=%1").arg(c.wantJA)});
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_TRUE(r.output.contains("[  PASSED  ] 1 test")) << r.output.toStdString();
  }
}

}  // namespace dialogtest

#define DIALOGTEST_MAIN()                                                                        \
  int main(int argc, char** argv) {                                                              \
    if (const int rc = dialogtest::RunFromTemporaryCopy(argv); rc >= 0) return rc;               \
    /* Listing the tests (ctest's discovery) runs without the test */                            \
    /* environment; these tests are made for the offscreen screen.  */                           \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
    ::testing::InitGoogleTest(&argc, argv);                                                      \
    QApplication app(argc, argv);                                                                \
    return RUN_ALL_TESTS();                                                                      \
  }
