#include "settings/uFMXUtils.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// The system locale is read once per process, so each locale gets a process.
bool ProbeIsLangJA(const QString& locale, bool setJA) {
  QProcess probe;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"LANGUAGE", "LC_MESSAGES", "LC_NUMERIC", "LC_CTYPE"}) env.remove(name);
  env.insert("LANG", locale);
  env.insert("LC_ALL", locale);
  probe.setProcessEnvironment(env);
  probe.start(SETTINGS_PROBE, {"lang", setJA ? "1" : "0"});
  EXPECT_TRUE(probe.waitForFinished(30000));
  const QByteArray out = probe.readAllStandardOutput().trimmed();
  EXPECT_TRUE(out == "0" || out == "1") << out.constData();
  return out == "1";
}

TEST(Language, JapaneseOnlyOnAJapaneseSystemAndWhenAllowed) {
  for (const char* locale : {"ja_JP.UTF-8", "en_US.UTF-8", "de_DE.UTF-8", "zh_CN.UTF-8"}) {
    const bool japanese = QByteArray(locale).startsWith("ja");
    EXPECT_EQ(ProbeIsLangJA(locale, true), japanese) << locale;
    EXPECT_FALSE(ProbeIsLangJA(locale, false)) << locale;
  }
}

TEST(Version, HasFourNumbers) {
  const QStringList parts = GetVersionStr().split('.');
  ASSERT_EQ(parts.size(), 4) << qPrintable(GetVersionStr());
  for (const QString& p : parts) {
    bool ok = false;
    p.toUInt(&ok);
    EXPECT_TRUE(ok) << qPrintable(p);
  }
  EXPECT_TRUE(GetVersionStr().startsWith(QStringLiteral(QUENNEL_VERSION)));
}

class TUrlCatcher : public QObject {
  Q_OBJECT
 public slots:
  void Open(const QUrl& url) { Urls << url; }

 public:
  QList<QUrl> Urls;
};

TEST(Shell, OpensAddressesAndFilesThroughTheDesktop) {
  TUrlCatcher catcher;
  for (const char* scheme : {"https", "file"}) QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
  QTemporaryDir dir;
  const QString file = dir.filePath("read me.txt");
  QFile(file).open(QIODevice::WriteOnly);
  ShellOpen("https://example.org/quennel?x=1");
  ShellOpen(file);
  ShellOpen(QString());
  for (const char* scheme : {"https", "file"}) QDesktopServices::unsetUrlHandler(scheme);
  ASSERT_EQ(catcher.Urls.size(), 2);
  EXPECT_EQ(catcher.Urls[0], QUrl("https://example.org/quennel?x=1"));
  EXPECT_EQ(catcher.Urls[1], QUrl::fromLocalFile(file));
}

}  // namespace

#include "test_lang_shell.moc"
