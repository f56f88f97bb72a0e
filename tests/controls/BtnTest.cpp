// The icon button: click rule, colours by pointer state, layout from the
// height, and no repaint without a change.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include <memory>

#include "ControlsTestUtil.h"
#include "controls/uFMXBtn.h"
#include "controls/uFMXIcons.h"
#include "settings/uFMXUtils.h"

namespace {

// A square icon fills the whole inset area, so its colour is easy to sample.
constexpr char SquareIcon[] = "M0,0 L1,0 L1,1 L0,1 Z";

class BtnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTestColors();
    Host = std::make_unique<QWidget>();
    Host->resize(200, 100);
    Btn = new TFMXBtn(Host.get());
    Btn->move(50, 30);
    Btn->SetSize(40, 30);
    Btn->SetSvgData(QString::fromLatin1(SquareIcon));
    Btn->SetOnExecute([this](QObject* Sender) {
      ++Clicks;
      LastSender = Sender;
    });
    Host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Host.get()));
  }

  QRgb RectColor() { return Shot(Btn).pixel(1, 15); }
  QRgb IconColor() { return Shot(Btn).pixel(20, 15); }

  std::unique_ptr<QWidget> Host;
  TFMXBtn* Btn = nullptr;
  int Clicks = 0;
  QObject* LastSender = nullptr;
};

}  // namespace

TEST_F(BtnTest, ClickRuleOnTheEdges) {
  struct TCase {
    QPoint release;
    bool isClick;
  };
  const TCase cases[] = {
      {{0, 0}, true},    {{39, 29}, true},   {{20, 15}, true},
      {{40, 15}, false}, {{20, 30}, false},  {{40, 30}, false},
      {{-1, 15}, false}, {{20, -1}, false},  {{300, 15}, false},
  };
  for (const TCase& c : cases) {
    Clicks = 0;
    QTest::mousePress(Btn, Qt::LeftButton, {}, QPoint(20, 15));
    // The release goes to the button through Qt's grab, wherever it is.
    QTest::mouseRelease(Btn, Qt::LeftButton, {}, c.release);
    EXPECT_EQ(Clicks, c.isClick ? 1 : 0) << c.release.x() << "," << c.release.y();
    EXPECT_FALSE(Btn->GetFMXMouseMode() == TFMXMouseMode::isDown);
  }
  EXPECT_EQ(LastSender, Btn);
}

TEST_F(BtnTest, AnyMouseButtonClicks) {
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    Clicks = 0;
    QTest::mouseClick(Btn, button, {}, QPoint(10, 10));
    EXPECT_EQ(Clicks, 1) << button;
  }
}

TEST_F(BtnTest, LeavingAndComingBackWhilePressed) {
  SendEnter(Btn);
  QTest::mousePress(Btn, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(Btn->GetFMXMouseMode(), TFMXMouseMode::isDown);
  SendLeave(Btn);
  QTest::mouseMove(Btn, QPoint(100, 10));
  EXPECT_EQ(Btn->GetFMXMouseMode(), TFMXMouseMode::isDown);  // still pressed, still captured
  SendEnter(Btn);
  QTest::mouseMove(Btn, QPoint(10, 10));
  QTest::mouseRelease(Btn, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Btn->GetFMXMouseMode(), TFMXMouseMode::isHover);

  // Pressed, dragged out and released there: no click, and the button rests.
  QTest::mousePress(Btn, Qt::LeftButton, {}, QPoint(10, 10));
  SendLeave(Btn);
  QTest::mouseRelease(Btn, Qt::LeftButton, {}, QPoint(100, 10));
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Btn->GetFMXMouseMode(), TFMXMouseMode::isNone);
}

TEST_F(BtnTest, ColoursOfEachMode) {
  struct TCase {
    bool isAccent, isHover, isDown;
    QRgb rect, icon;
  };
  const TCase cases[] = {
      {false, false, false, BackColor2, ForeColor2},
      {false, true, false, ForeColor1, BackColor1},
      {false, true, true, ForeColor0, BackColor0},
      {false, false, true, ForeColor0, BackColor0},  // dragged out: pressed wins
      {true, false, false, AccentNoneColor, 0xFFDDDDDD},
      {true, true, false, AccentColor, 0xFFEEEEEE},
      {true, true, true, AccentDownColor, 0xFFFFFFFF},
  };
  for (const TCase& c : cases) {
    Btn->SetAccent(c.isAccent);
    if (c.isHover)
      SendEnter(Btn);
    if (c.isDown)
      QTest::mousePress(Btn, Qt::LeftButton, {}, QPoint(10, 10));
    const QString which = QStringLiteral("accent %1 hover %2 down %3")
                              .arg(c.isAccent).arg(c.isHover).arg(c.isDown);
    EXPECT_EQ(RectColor(), c.rect) << which.toStdString();
    EXPECT_EQ(IconColor(), c.icon) << which.toStdString();
    if (c.isDown)
      QTest::mouseRelease(Btn, Qt::LeftButton, {}, QPoint(300, 10));
    SendLeave(Btn);
  }
}

TEST_F(BtnTest, PressedPlainButtonIsBlackBehindWhiteInLightMode) {
  DarkMode = 1;  // light
  SetThemeColors();
  ASSERT_TRUE(IsLightMode);
  Btn->SetAccent(true);  // repaint with the new theme on the way back
  Btn->SetAccent(false);
  QTest::mousePress(Btn, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(RectColor(), 0xFF000000);
  EXPECT_EQ(IconColor(), 0xFFFFFFFF);
  QTest::mouseRelease(Btn, Qt::LeftButton, {}, QPoint(10, 10));
}

TEST_F(BtnTest, RadiusAndInsetFollowTheHeight) {
  struct TCase {
    float w, h;
    qreal r;
  };
  for (const TCase& c : {TCase{30, 30, 3}, TCase{40, 30, 3}, TCase{25, 25, 2.5}, TCase{100, 50, 5}}) {
    Btn->SetSize(c.w, c.h);
    EXPECT_EQ(Btn->size(), QSize(int(c.w), int(c.h)));
    EXPECT_EQ(Btn->GetRect().Bounds, QRectF(0, 0, c.w, c.h));
    EXPECT_FLOAT_EQ(Btn->GetRect().Radius, c.r) << c.w << "x" << c.h;
    EXPECT_FLOAT_EQ(Btn->GetIconMargin(), c.r) << c.w << "x" << c.h;
    EXPECT_EQ(Btn->GetIconArea(), QRectF(c.r, c.r, c.w - 2 * c.r, c.h - 2 * c.r));
  }
  // Painted: the corner pixel stays empty, the icon starts 3 px in.
  Btn->SetSize(40, 30);
  const QImage image = Shot(Btn);
  EXPECT_LT(qAlpha(image.pixel(0, 0)), 40);  // rounded off, only an anti-aliased trace
  EXPECT_EQ(image.pixel(1, 15), BackColor2);
  EXPECT_EQ(image.pixel(2, 15), BackColor2);
  EXPECT_EQ(image.pixel(3, 15), ForeColor2);
  EXPECT_EQ(image.pixel(36, 26), ForeColor2);
  EXPECT_EQ(image.pixel(37, 26), BackColor2);
}

TEST_F(BtnTest, PartialIconIsStretchedOntoTheInsetArea) {
  Btn->SetSize(40, 30);
  Btn->SetSvgData(QStringLiteral("M0.4,0.4 L0.6,0.4 L0.6,0.5 L0.4,0.5 Z"));
  const QRectF outline = Btn->GetIconOutline().boundingRect();
  EXPECT_NEAR(outline.left(), 3, 1e-9);
  EXPECT_NEAR(outline.top(), 3, 1e-9);
  EXPECT_NEAR(outline.right(), 37, 1e-9);
  EXPECT_NEAR(outline.bottom(), 27, 1e-9);
  EXPECT_EQ(IconColor(), ForeColor2);
}

TEST_F(BtnTest, NoRepaintWithoutAChange) {
  Settle();
  TPaintCounter paints(Btn);
  const QString icon = Btn->GetSvgData();
  Btn->SetAccent(false);
  Btn->SetSvgData(icon);
  Settle();
  EXPECT_EQ(paints.Count, 0);

  Btn->SetAccent(true);
  Settle();
  EXPECT_GE(paints.Count, 1);
  EXPECT_EQ(RectColor(), AccentNoneColor);

  paints.Count = 0;
  Btn->SetSvgData(QString::fromLatin1(IconPlay));
  Settle();
  EXPECT_GE(paints.Count, 1);
  EXPECT_EQ(Btn->GetSvgData(), QString::fromLatin1(IconPlay));

  // Entering twice changes the mode once.
  SendEnter(Btn);
  Settle();
  paints.Count = 0;
  SendEnter(Btn);
  Settle();
  EXPECT_EQ(paints.Count, 0);
}

TEST_F(BtnTest, MalformedIconTextIsKeptButDrawsNothing) {
  const QString bad = QStringLiteral("M0,0 L1");
  Btn->SetSvgData(bad);
  EXPECT_EQ(Btn->GetSvgData(), bad);
  EXPECT_TRUE(Btn->GetPath().Data.isEmpty());
  EXPECT_EQ(IconColor(), BackColor2);  // only the background
  Btn->SetSvgData(QString::fromLatin1(SquareIcon));
  EXPECT_EQ(IconColor(), ForeColor2);
}

TEST(Btn, NothingAssignedStillClicksSafely) {
  QWidget host;
  auto* btn = new TFMXBtn(&host);
  btn->SetSize(25, 25);
  host.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  QTest::mouseClick(btn, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_NE(btn->GetFMXMouseMode(), TFMXMouseMode::isDown);
  EXPECT_EQ(btn->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(BtnTest, PaintsAtDevicePixelRatioTwo) {
  // At 2x the inset edge falls on device pixel 6, not on a blurred 3 scaled up.
  QImage image(QSize(80, 60), QImage::Format_ARGB32);
  image.setDevicePixelRatio(2);
  image.fill(Qt::transparent);
  Btn->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
  EXPECT_EQ(image.pixel(5, 30), BackColor2);
  EXPECT_EQ(image.pixel(6, 30), ForeColor2);
  EXPECT_EQ(image.pixel(73, 30), ForeColor2);
  EXPECT_EQ(image.pixel(74, 30), BackColor2);
}
