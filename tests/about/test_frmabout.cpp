// The About window: artwork, version label, the product page link by
// language, and that a click on the link opens it and leaves the window open.

#include <QDesktopServices>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

#include "about/uFMXFrmAbout.h"
#include "settings/uFMXUtils.h"
#include "tests/about/DialogTestSupport.h"

// Catches what ShellOpen hands to the desktop, so no browser is needed.
class TUrlCatcher : public QObject {
  Q_OBJECT

 public:
  TUrlCatcher() {
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
  }
  ~TUrlCatcher() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
  }
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened << url; }
};

namespace {

void WhenShown(QWidget* window, std::function<void()> action) {
  auto* poll = new QTimer(window);
  QObject::connect(poll, &QTimer::timeout, window, [window, poll, action] {
    if (!window->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    action();
  });
  poll->start(5);
}

class FrmAboutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (dialogtest::IsLanguageChild()) GTEST_SKIP() << "runs in the parent only";
    isSetJA = true;
  }
};

TEST_F(FrmAboutTest, ArtworkVersionAndLayout) {
  TFMXFrmAbout about;
  EXPECT_EQ(about.size(), QSize(512, 256));
  EXPECT_EQ(about.Image1->pixmap().size(), QSize(512, 256));
  EXPECT_EQ(about.Image2->pixmap().size(), QSize(512, 128));
  EXPECT_EQ(about.Image2->geometry(), QRect(0, 0, 512, 128));
  // The version compiled in from the project, after "Ver." without a space.
  EXPECT_EQ(about.LbVersion->text(), "Ver." + GetVersionStr());
  EXPECT_EQ(about.LbVersion->text(), "Ver.1.0.0.0");
  EXPECT_EQ(about.LbVersion->palette().color(QPalette::WindowText).rgba(), 0xFFFFFFFFu);
  EXPECT_EQ(about.LbURL->palette().color(QPalette::WindowText).rgba(), 0xFF00FFFFu);
  for (QLabel* l : {about.LbVersion, about.LbURL}) {
    EXPECT_EQ(l->font().family(), "Tahoma");
    EXPECT_EQ(l->font().pixelSize(), 15);
    EXPECT_EQ(l->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(l->width(), 512);
  }
  EXPECT_EQ(about.LbURL->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(about.ButtonOK->text(), "OK");
  EXPECT_EQ(about.ButtonOK->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(about.ButtonOK->mapTo(&about, QPoint(0, 0)), QPoint(429, 128 + 95));
  EXPECT_EQ(about.ButtonOK->size(), QSize(75, 25));
}

// Only the link opens anything; it opens the address it shows, and the
// window stays open until OK.
TEST_F(FrmAboutTest, LinkOpensThePageAndKeepsTheWindow) {
  TUrlCatcher catcher;
  TFMXFrmAbout about;
  bool openAfterClick = false;
  WhenShown(&about, [&] {
    QTest::mouseClick(about.LbVersion, Qt::LeftButton);
    QTest::mouseClick(about.Image1, Qt::LeftButton, {}, {20, 20});
    QTest::mouseClick(about.Image2, Qt::LeftButton);
    EXPECT_TRUE(catcher.opened.isEmpty());
    QTest::mouseClick(about.LbURL, Qt::LeftButton);
    openAfterClick = about.isVisible();
    QTest::mouseClick(about.ButtonOK, Qt::LeftButton);
  });
  about.Execute();
  EXPECT_TRUE(openAfterClick);
  EXPECT_FALSE(about.isVisible());
  ASSERT_EQ(catcher.opened.size(), 1);
  EXPECT_EQ(catcher.opened[0], QUrl(about.LbURL->text()));
  EXPECT_EQ(catcher.opened[0], QUrl(QStringLiteral(QUENNEL_TEST_URL_EN)));
}

// The close button ends it like OK, and it can be shown again, centred on
// the main window each time.
TEST_F(FrmAboutTest, CloseButtonAndShownAgainCentred) {
  QWidget main;
  main.setGeometry(40, 40, 700, 480);  // inside the 800 x 600 offscreen screen
  main.show();
  TFMXFrmAbout about(&main);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    QPoint centre;
    WhenShown(&about, [&] {
      centre = about.geometry().center();
      about.close();
    });
    about.Execute();
    EXPECT_FALSE(about.isVisible());
    EXPECT_LE((centre - main.geometry().center()).manhattanLength(), 2);
    main.move(90, 80);
  }
}

TEST(FrmAboutLanguage, CaptionAndLinkByLanguage) {
  if (dialogtest::IsLanguageChild()) GTEST_SKIP();
  dialogtest::ExpectLanguageChildren(QStringLiteral("FrmAboutLanguageChild.*"),
                                     {{"ja_JP.UTF-8", true, true}, {"ja_JP.UTF-8", false, false},
                                      {"en_GB.UTF-8", true, false}, {"de_DE.UTF-8", false, false},
                                      {"zh_CN.UTF-8", true, false}});
}

TEST(FrmAboutLanguageChild, CaptionAndLink) {
  if (!dialogtest::IsLanguageChild()) GTEST_SKIP() << "runs as a child of CaptionAndLinkByLanguage";
  isSetJA = qEnvironmentVariableIntValue("QUENNEL_TEST_SETJA") != 0;
  const bool wantJA = qEnvironmentVariableIntValue("QUENNEL_TEST_WANTJA") != 0;
  TUrlCatcher catcher;
  TFMXFrmAbout about;
  const QString page =
      wantJA ? QStringLiteral(QUENNEL_TEST_URL_JA) : QStringLiteral(QUENNEL_TEST_URL_EN);
  EXPECT_EQ(about.windowTitle(), wantJA ? QStringLiteral("このプログラムについて")
                                        : QStringLiteral("About this program"));
  EXPECT_EQ(about.LbURL->text(), page);
  EXPECT_EQ(TFMXFrmAbout::ProductPageURL(), page);
  about.show();
  QTest::mouseClick(about.LbURL, Qt::LeftButton);
  ASSERT_EQ(catcher.opened.size(), 1);
  EXPECT_EQ(catcher.opened[0], QUrl(page));
}

}  // namespace

DIALOGTEST_MAIN()

#include "test_frmabout.moc"
