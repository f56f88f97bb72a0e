// The setup dialog: what OK, Cancel and the close button do to the settings
// and the settings file, the font size reaching the subtitle panel, the
// colours in light and dark mode, and the notice by language.

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>

#include "settings/uDlgSetup.h"
#include "settings/uFMXUtils.h"
#include "tests/about/DialogTestSupport.h"

#ifdef QUENNEL_TEST_WITH_APP
#include "app/uFrmMain.h"
#include "app/uSrtPanel.h"
#endif

namespace {

// Runs ACTION once the window is on screen, from inside its modal loop.
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

void UseTheme(uint8_t darkMode) {
  IsWin10 = true;
  IsSysLight = true;
  AccentColor = 0xFF00A2ED;
  DarkMode = darkMode;
  SetThemeColors();
}

QByteArray ReadFile(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString& name, const QByteArray& data) {
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(data);
}

class DlgSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (dialogtest::IsLanguageChild()) GTEST_SKIP() << "runs in the parent only";
    file = SettingsFileName();
    QFile::remove(file);
    QDir(file).removeRecursively();
    UseTheme(1);
    FontSize = 0;
  }
  void TearDown() override {
    QFile::remove(file);
    QDir(file).removeRecursively();
  }
  QString file;
};

TEST_F(DlgSetupTest, ComponentsAndFocusOrder) {
  TDlgSetup dlg;
  EXPECT_EQ(dlg.windowTitle(), "Setup");
  EXPECT_EQ(dlg.size(), QSize(641, 161));
  EXPECT_EQ(dlg.Label1->text(), "Dark Mode:");
  EXPECT_EQ(dlg.Label3->text(), "Font Size:");
  QStringList modes, sizes;
  for (int i = 0; i < dlg.cbDarkMode->count(); ++i) modes << dlg.cbDarkMode->itemText(i);
  for (int i = 0; i < dlg.cbFontSize->count(); ++i) sizes << dlg.cbFontSize->itemText(i);
  EXPECT_EQ(modes, QStringList({"Auto", "Light", "Dark"}));
  EXPECT_EQ(sizes, QStringList({"Auto", "Smaller", "Small", "Normal", "Large", "Larger"}));
  EXPECT_EQ(dlg.cbDarkMode->maxVisibleItems(), 3);
  EXPECT_EQ(dlg.cbFontSize->maxVisibleItems(), 7);
  EXPECT_EQ(dlg.btOK->text(), "OK");
  EXPECT_EQ(dlg.btCancel->text(), "Cancel");
  EXPECT_EQ(dlg.cbFontSize->nextInFocusChain(), dlg.cbDarkMode);
  EXPECT_EQ(dlg.cbDarkMode->nextInFocusChain(), dlg.btCancel);
  EXPECT_EQ(dlg.btCancel->nextInFocusChain(), dlg.btOK);
}

// OK stores the choices and writes the file, also when nothing changed.
TEST_F(DlgSetupTest, OkStoresAndWrites) {
  struct Case {
    int pickMode, pickSize;  // -1: leave the box as the dialog showed it
    uint8_t wantMode;
    int32_t wantSize;
  };
  for (const Case c : {Case{-1, -1, 1, 3}, Case{2, 4, 2, 4}, Case{0, 0, 0, 0}}) {
    SCOPED_TRACE(testing::Message() << "mode " << c.pickMode << " size " << c.pickSize);
    QFile::remove(file);
    DarkMode = 1;
    FontSize = 3;
    TDlgSetup dlg;
    WhenShown(&dlg, [&] {
      EXPECT_EQ(dlg.cbDarkMode->currentIndex(), 1);  // shows the current values
      EXPECT_EQ(dlg.cbFontSize->currentIndex(), 3);
      if (c.pickMode >= 0) dlg.cbDarkMode->setCurrentIndex(c.pickMode);
      if (c.pickSize >= 0) dlg.cbFontSize->setCurrentIndex(c.pickSize);
      QTest::mouseClick(dlg.btOK, Qt::LeftButton);
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(DarkMode, c.wantMode);
    EXPECT_EQ(FontSize, c.wantSize);
    ASSERT_TRUE(QFileInfo::exists(file));
    DarkMode = 9;
    FontSize = 9;
    LoadSettings();
    EXPECT_EQ(DarkMode, c.wantMode);
    EXPECT_EQ(FontSize, c.wantSize);
  }
}

// Cancel, the close button and Escape change nothing and write nothing, with
// or without a file already there.
TEST_F(DlgSetupTest, CancelAndCloseWriteNothing) {
  const QByteArray before = "[System]\r\nDarkMode=1\r\nFontSize=2\r\n; mine\r\n";
  const std::vector<std::pair<const char*, std::function<void(TDlgSetup&)>>> ways = {
      {"Cancel", [](TDlgSetup& d) { QTest::mouseClick(d.btCancel, Qt::LeftButton); }},
      {"close button", [](TDlgSetup& d) { d.close(); }},
      {"Escape", [](TDlgSetup& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
  };
  for (const auto& [name, dismiss] : ways) {
    for (const bool hadFile : {true, false}) {
      SCOPED_TRACE(testing::Message() << name << (hadFile ? " with file" : " without file"));
      QFile::remove(file);
      if (hadFile) WriteFile(file, before);
      DarkMode = 1;
      FontSize = 2;
      TDlgSetup dlg;
      WhenShown(&dlg, [&] {
        dlg.cbDarkMode->setCurrentIndex(2);
        dlg.cbFontSize->setCurrentIndex(5);
        dismiss(dlg);
      });
      EXPECT_FALSE(dlg.Execute());
      EXPECT_EQ(DarkMode, 1);
      EXPECT_EQ(FontSize, 2);
      EXPECT_EQ(QFileInfo::exists(file), hadFile);
      if (hadFile) EXPECT_EQ(ReadFile(file), before);
    }
  }
}

// A file that cannot be written fails OK loudly; the choices are taken all
// the same, as they would be saved again at exit.
TEST_F(DlgSetupTest, FailedWriteThrowsWithValuesTaken) {
  ASSERT_TRUE(QDir().mkpath(file));  // a folder where the file should be
  TDlgSetup dlg;
  WhenShown(&dlg, [&] {
    dlg.cbDarkMode->setCurrentIndex(2);
    dlg.cbFontSize->setCurrentIndex(4);
    QTest::mouseClick(dlg.btOK, Qt::LeftButton);
  });
  EXPECT_THROW(dlg.Execute(), std::runtime_error);
  EXPECT_EQ(DarkMode, 2);
  EXPECT_EQ(FontSize, 4);
}

TEST_F(DlgSetupTest, CentredOnItsParent) {
  QWidget main;
  main.setGeometry(60, 50, 700, 480);  // inside the 800 x 600 offscreen screen
  main.show();
  TDlgSetup dlg(&main);
  QPoint centre;
  WhenShown(&dlg, [&] {
    centre = dlg.geometry().center();
    dlg.reject();
  });
  dlg.Execute();
  EXPECT_LE((centre - main.geometry().center()).manhattanLength(), 2);
}

// Grey level at a point of a widget as it paints itself.
int GreyAt(QWidget* w, QPoint at) {
  const QImage img = w->grab().toImage();
  return qGray(img.pixel(at));
}

// Dark mode: dark dialog, dark list, light item texts, a brightened arrow.
// Light mode: light dialog, the default list and a dark arrow.
TEST_F(DlgSetupTest, ColoursFollowTheMode) {
  for (const bool dark : {false, true}) {
    SCOPED_TRACE(dark ? "dark" : "light");
    UseTheme(dark ? 2 : 1);
    ASSERT_EQ(IsLightMode, !dark);
    TDlgSetup dlg;
    dlg.show();
    EXPECT_EQ(dlg.palette().color(QPalette::Window).rgb(), BackColor2);
    for (QWidget* w : {static_cast<QWidget*>(dlg.Label1), static_cast<QWidget*>(dlg.Label2),
                       static_cast<QWidget*>(dlg.Label3)})
      EXPECT_EQ(w->palette().color(QPalette::WindowText).rgb(), ForeColor0);
    for (QComboBox* box : {dlg.cbDarkMode, dlg.cbFontSize}) {
      for (int i = 0; i < box->count(); ++i)
        EXPECT_EQ(box->itemData(i, Qt::ForegroundRole).value<QColor>().rgb(), ForeColor0);
      // The box face is BackColor1; the arrow's stroke lies at the centre
      // of the 18-wide area on the right.
      const int face = GreyAt(box, {box->width() - 30, box->height() / 2});
      EXPECT_EQ(face, qGray(BackColor1));
      const QImage img = box->grab().toImage();
      int arrow = dark ? 0 : 255;
      for (int y = 0; y < img.height(); ++y) {
        const int g = qGray(img.pixel(box->width() - 9, y));
        arrow = dark ? std::max(arrow, g) : std::min(arrow, g);
      }
      if (dark)
        EXPECT_GT(arrow, qGray(ForeColor2) + 20) << "arrow brighter than the outline";
      else
        EXPECT_LT(arrow, 80) << "dark arrow on the light box";
      // The drop-down list as it paints.
      box->showPopup();
      QTest::qWait(20);
      const QImage list = box->view()->grab().toImage();
      const QRgb back = list.pixel(list.width() - 4, list.height() - 3);
      box->hidePopup();
      if (dark)
        EXPECT_EQ(back & 0xFFFFFF, 0x222222u);
      else
        EXPECT_GT(qGray(back), 200);
    }
  }
}

#ifdef QUENNEL_TEST_WITH_APP
// The gear button's path: a new font size reaches the subtitle panel at once,
// a new theme is only stored for the next start.
TEST_F(DlgSetupTest, FontSizeAtOnceThemeAtNextStart) {
  UseTheme(1);
  TFrmMain frm;  // hidden: a fixed font size does not depend on the panel width
  const QRgb barBefore = frm.Rectangle->palette().color(QPalette::Window).rgb();
  const bool lightBefore = IsLightMode;
  TDlgSetup dlg(&frm);
  DlgSetup = &dlg;
  WhenShown(&dlg, [&] {
    dlg.cbFontSize->setCurrentIndex(5);  // Larger
    dlg.cbDarkMode->setCurrentIndex(lightBefore ? 2 : 1);
    QTest::mouseClick(dlg.btOK, Qt::LeftButton);
  });
  frm.BtGearExecute();
  DlgSetup = nullptr;
  EXPECT_EQ(FontSize, 5);
  EXPECT_DOUBLE_EQ(frm.lbSrt->font().pointSizeF(), 24.0);
  EXPECT_TRUE(frm.lbSrt->wordWrap());

  // The colours stay what they were until the program starts again...
  EXPECT_EQ(IsLightMode, lightBefore);
  EXPECT_EQ(frm.Rectangle->palette().color(QPalette::Window).rgb(), barBefore);
  // ...and the next start reads the new theme.
  LoadSettings();
  SetThemeColors();
  EXPECT_EQ(IsLightMode, !lightBefore);
}
#endif

// The notice is the only translated text: Japanese on a Japanese system
// unless isSetJA is off; English everywhere else.
TEST(DlgSetupLanguage, NoticeByLanguage) {
  if (dialogtest::IsLanguageChild()) GTEST_SKIP();
  dialogtest::ExpectLanguageChildren(QStringLiteral("DlgSetupLanguageChild.*"),
                                     {{"ja_JP.UTF-8", true, true}, {"ja_JP.UTF-8", false, false},
                                      {"en_US.UTF-8", true, false}, {"de_DE.UTF-8", true, false},
                                      {"zh_CN.UTF-8", true, false}});
}

TEST(DlgSetupLanguageChild, Notice) {
  if (!dialogtest::IsLanguageChild()) GTEST_SKIP() << "runs as a child of NoticeByLanguage";
  isSetJA = qEnvironmentVariableIntValue("QUENNEL_TEST_SETJA") != 0;
  const bool wantJA = qEnvironmentVariableIntValue("QUENNEL_TEST_WANTJA") != 0;
  TDlgSetup dlg;
  EXPECT_EQ(dlg.Label2->text(),
            wantJA ? QStringLiteral("この設定の変更はアプリケーションの再起動後に反映されます。")
                   : QStringLiteral("Changes to this setting will take effect after "
                                    "restarting the application."));
  EXPECT_EQ(dlg.windowTitle(), "Setup");
  EXPECT_EQ(dlg.Label1->text(), "Dark Mode:");
  EXPECT_EQ(dlg.btCancel->text(), "Cancel");
}

}  // namespace

DIALOGTEST_MAIN()
