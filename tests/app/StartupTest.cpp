// Start-up: the command-line file opened once at the first show, the initial
// state of the window, the top-level error handler, closing while playing.
#include "app/uFrmMain.h"
#include "app/uQuennelApp.h"
#include "about/uFMXFrmAbout.h"
#include "app/uSrtPanel.h"
#include "controls/uFMXBtn.h"
#include "settings/uDlgSetup.h"
#include "player/uFMXMfPlayerClass.h"
#include "settings/uFMXUtils.h"
#include "tests/app/AppTestUtil.h"
#include "tests/common/Fixtures.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QLabel>
#include <QTimer>

#include <stdexcept>

TEST(Startup, WindowStartsEmpty) {
  TFrmMain form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Quennel"));
  EXPECT_EQ(form.lbSrt->text(), QString());
  EXPECT_EQ(form.lbTime->text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(form.MfPlayer, nullptr);
  EXPECT_EQ(form.DrtIndex, 0xFFFF);
  EXPECT_EQ(form.FWheelCount, WheelIdle);
  EXPECT_EQ(form.AppIdlelbSrtResizeID, -1);
  EXPECT_EQ(form.size(), QSize(640, 480));
  EXPECT_EQ(form.minimumSize(), QSize(640, 480));
  EXPECT_FALSE(isRegEx);
}

TEST(Startup, OneArgumentIsOpenedOnceAtTheFirstShow) {
  const QString clip = FixturePath(QStringLiteral("colors.mp4"));
  TFrmMain form({clip});
  EXPECT_EQ(form.MfPlayer, nullptr);  // not before the show
  form.show();
  ASSERT_TRUE(WaitUntil([&] { return form.MfPlayer != nullptr; }));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("MP4Player - colors.mp4"));
  TMfPlayer* first = form.MfPlayer;
  form.hide();
  form.show();
  Pump(100);
  EXPECT_EQ(form.MfPlayer, first);
  EXPECT_FALSE(form.isFirst);
}

TEST(Startup, NoneOrTwoArgumentsOpenNothing) {
  const QString clip = FixturePath(QStringLiteral("colors.mp4"));
  for (const QStringList& args : {QStringList{}, QStringList{clip, clip}}) {
    TFrmMain form(args);
    form.show();
    Pump(100);
    EXPECT_EQ(form.MfPlayer, nullptr) << args.size();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quennel"));
  }
}

TEST(Startup, ExceptionsReachingTheLoopAreShownAndTheLoopGoesOn) {
  TBoxCatcher boxes;
  bool after = false;
  QTimer::singleShot(0, [] { throw std::runtime_error("the disk is on fire"); });
  QTimer::singleShot(0, [] { throw ESilentAbort(); });
  QTimer::singleShot(50, [&] { after = true; });
  EXPECT_TRUE(WaitUntil([&] { return after; }, 3000));
  Pump(100);
  ASSERT_EQ(boxes.Texts().size(), 1);
  EXPECT_EQ(boxes.Texts().front(), QStringLiteral("the disk is on fire"));
}

TEST(Startup, ClosingWhilePlayingShutsThePlayerDownThenWritesSettings) {
  RemoveSettingsFile();
  auto form = std::make_unique<TFrmMain>();
  ASSERT_TRUE(OpenAndWait(*form, FixturePath(QStringLiteral("colors.mp4"))));
  form->MfPlayer->StartPause();
  ASSERT_TRUE(WaitUntil([&] { return form->FisPlaying; }));
  form->show();
  EXPECT_TRUE(form->close());
  EXPECT_EQ(form->MfPlayer, nullptr);
  EXPECT_FALSE(QFileInfo::exists(SettingsFileName()));  // not before destruction
  form.reset();
  EXPECT_TRUE(QFileInfo::exists(SettingsFileName()));
  RemoveSettingsFile();
}

TEST(Startup, SavedDarkModeColoursTheWindowFromTheStart) {
  {
    QFile ini(SettingsFileName());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[System]\r\nDarkMode=2\r\nFontSize=0\r\n");
  }
  const uint8_t saved = DarkMode;
  {
    TFrmMain form;
    EXPECT_EQ(DarkMode, 2);
    EXPECT_FALSE(IsLightMode);
    EXPECT_EQ(form.Rectangle->palette().color(QPalette::Window).rgba(), BackColor1);
    EXPECT_LT(qGray(BackColor1), 100);
    EXPECT_EQ(form.lbTime->palette().color(QPalette::WindowText).rgba(), ForeColor0);
    EXPECT_GT(qGray(ForeColor0), 150);
  }
  RemoveSettingsFile();
  DarkMode = saved;
  SetThemeColors();
}

TEST(Startup, GearAndInfoShowTheirWindowsAndOkRefitsThePanel) {
  TFrmMain form;
  form.show();
  TFMXFrmAbout about(&form);
  TDlgSetup setup(&form);
  FMXFrmAbout = &about;
  DlgSetup = &setup;
  const int32_t saved = FontSize;

  bool aboutShown = false;
  QTimer::singleShot(200, [&] {
    aboutShown = QApplication::activeModalWidget() == &about;
    about.reject();
  });
  QTest::mouseClick(form.BtInfo, Qt::LeftButton);
  EXPECT_TRUE(aboutShown);

  // Choosing the "Large" size and OK reaches the panel at once.
  bool setupShown = false;
  QTimer::singleShot(200, [&] {
    setupShown = QApplication::activeModalWidget() == &setup;
    setup.cbFontSize->setCurrentIndex(4);
    setup.btOK->click();
  });
  QTest::mouseClick(form.BtGear, Qt::LeftButton);
  EXPECT_TRUE(setupShown);
  EXPECT_EQ(FontSize, 4);
  EXPECT_FLOAT_EQ(float(form.lbSrt->font().pointSizeF()), 16.0f);
  EXPECT_TRUE(form.lbSrt->wordWrap());

  FMXFrmAbout = nullptr;
  DlgSetup = nullptr;
  FontSize = saved;
  RemoveSettingsFile();
}
