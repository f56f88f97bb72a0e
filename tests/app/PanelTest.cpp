// The subtitle panel: its text follows the status reports only on a change
// of entry, its font fits the width, and a click copies its text.
#include "app/uFrmMain.h"
#include "app/uAppIdle.h"
#include "app/uSrtPanel.h"
#include "settings/uFMXUtils.h"
#include "tests/app/AppTestUtil.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSplitter>
#include <QTest>

namespace {

// Sets the global font setting (after the window read its settings) and
// puts it back afterwards.
struct TFontSizeScope {
  int32_t Saved = FontSize;
  explicit TFontSizeScope(int32_t AValue) { FontSize = AValue; }
  ~TFontSizeScope() { FontSize = Saved; }
};

constexpr uint64_t Sec = 10000000;

}  // namespace

TEST(Panel, TextChangesOnlyWhenTheEntryChanges) {
  TClipDir dir;
  TFrmMain form;
  form.OpenSrtFile(dir.AddFile(QStringLiteral("a.srt"), ClipSrt));
  ASSERT_EQ(form.SrtLists.size(), 5u);
  const int base = form.lbSrt->TextAssignments();

  struct { uint64_t t; const char* text; int assignments; } steps[] = {
      {0, "", 0},                                  // gap at the start: nothing to change
      {Sec / 2, "", 0},
      {Sec, "Hello apple\r\n", 1},                 // into the first entry
      {Sec + Sec / 10, "Hello apple\r\n", 1},      // same entry: untouched
      {Sec + 9 * Sec / 10, "Hello apple\r\n", 1},
      {2 * Sec, "", 2},                            // into the gap: emptied at once
      {2 * Sec + Sec / 2, "", 2},
      {3 * Sec, "Banana time\r\nsecond line\r\n", 3},
      {3 * Sec + 1, "Banana time\r\nsecond line\r\n", 3},
      {Sec, "Hello apple\r\n", 4},                 // jumping back
      {60 * Sec, "", 5},                           // beyond the index
  };
  for (const auto& s : steps) {
    form.PlayerPos(s.t, 0.5f, true);
    EXPECT_EQ(form.lbSrt->text(), QString::fromUtf8(s.text)) << s.t;
    EXPECT_EQ(form.lbSrt->TextAssignments() - base, s.assignments) << s.t;
    EXPECT_EQ(form.FTime, int64_t(s.t));
    EXPECT_TRUE(form.FisPlaying);
  }
  form.PlayerPos(3723 * Sec, 0.5f, false);
  EXPECT_EQ(form.lbTime->text(), QStringLiteral("01:02:03"));
  EXPECT_FALSE(form.FisPlaying);
}

TEST(Panel, AutomaticFitFillsTheWidthAndSetsTheHeightAtIdle) {
  TFrmMain form;
  TFontSizeScope auto_(0);
  form.show();
  QTest::qWait(20);
  const int w = form.lbSrt->width();
  ASSERT_EQ(w, 640);
  // The widest text measures half the panel at the base size: twice the size.
  form.SrtPoint = QPointF(w / 2.0, 20);
  form.FitSrtFont();
  EXPECT_FLOAT_EQ(float(form.lbSrt->font().pointSizeF()), 18.0f);
  EXPECT_FALSE(form.lbSrt->wordWrap());
  EXPECT_FLOAT_EQ(form.lbSrtHeight, 40.0f);
  EXPECT_NE(form.AppIdlelbSrtResizeID, -1);
  EXPECT_NE(form.lbSrt->height(), 40);  // not at once
  EXPECT_TRUE(WaitUntil([&] { return form.lbSrt->height() == 40; }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return form.AppIdlelbSrtResizeID == -1; }, 2000));
  QTest::qWait(50);
  EXPECT_EQ(AppIdleCount(), 0);  // settled: no idle handler left behind

  // Dragging the splitter springs back to the fitted height.
  const QList<int> sizes = form.Splitter1->sizes();
  form.Splitter1->setSizes({sizes[0] + sizes[1] - 100, 100});
  EXPECT_TRUE(WaitUntil([&] { return form.lbSrt->height() == 40; }, 2000));

  // Widening the window enlarges the font in proportion.
  form.resize(960, 480);
  EXPECT_TRUE(WaitUntil([&] { return form.lbSrt->width() == 960; }, 2000));
  EXPECT_FLOAT_EQ(float(form.lbSrt->font().pointSizeF()), 27.0f);
  EXPECT_TRUE(WaitUntil([&] { return form.lbSrt->height() == 60; }, 2000));
}

TEST(Panel, FixedSizeWrapsAndLeavesTheHeight) {
  TFrmMain form;
  TFontSizeScope large(4);
  form.show();
  form.SrtPoint = QPointF(320, 20);
  const QList<int> sizes = form.Splitter1->sizes();
  form.Splitter1->setSizes({sizes[0] + sizes[1] - 70, 70});
  QTest::qWait(50);
  form.FitSrtFont();
  EXPECT_FLOAT_EQ(float(form.lbSrt->font().pointSizeF()), 16.0f);
  EXPECT_TRUE(form.lbSrt->wordWrap());
  QTest::qWait(50);
  EXPECT_EQ(form.lbSrt->height(), 70);
  EXPECT_EQ(form.AppIdlelbSrtResizeID, -1);
}

TEST(Panel, AutoWithNothingMeasuredFallsBackToTheBaseSize) {
  TClipDir dir;
  TFrmMain form;
  TFontSizeScope auto_(0);
  form.show();
  // A file without entries measures nothing.
  form.OpenSrtFile(dir.AddFile(QStringLiteral("empty.srt"), "\r\n\r\n"));
  EXPECT_TRUE(form.SrtLists.empty());
  EXPECT_EQ(form.SrtPoint.x(), 0);
  EXPECT_FLOAT_EQ(float(form.lbSrt->font().pointSizeF()), 9.0f);
  EXPECT_TRUE(form.lbSrt->wordWrap());
}

TEST(Panel, ClickCopiesBothLinesOfTheEntryOnScreen) {
  TClipDir dir;
  TFrmMain form;
  form.show();
  form.OpenSrtFile(dir.AddFile(QStringLiteral("a.srt"), ClipSrt));
  form.PlayerPos(3 * Sec, 1, false);
  QGuiApplication::clipboard()->clear();
  QTest::mouseClick(form.lbSrt, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Banana time\r\nsecond line\r\n"));
  // A blank panel copies the empty text.
  form.PlayerPos(2 * Sec, 1, false);
  QTest::mouseClick(form.lbSrt, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
}
