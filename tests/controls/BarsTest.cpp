// The position bar seeks and the volume bar sets the volume on press and drag.
#include <gtest/gtest.h>

#include <QPainterPath>
#include <QTest>

#include <memory>

#include "ControlsTestUtil.h"
#include "controls/uFMXBtnMedia.h"
#include "settings/uFMXUtils.h"

namespace {
constexpr uint64_t s = 10000000;

// A shown bar in a window, with a recording player.
template <class TBar>
class TBarFixture : public ::testing::Test {
 protected:
  void Show(int AWidth, int AHeight) {
    SetTestColors();
    Host.resize(AWidth + 100, AHeight + 40);
    Bar = new TBar(&Host);
    Bar->setGeometry(50, 20, AWidth, AHeight);
    Host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Host));
  }
  void Press(int X) { QTest::mousePress(Bar, Qt::LeftButton, {}, QPoint(X, Bar->height() / 2)); }
  // With a button held Qt sends the moves to the pressed bar, wherever they are.
  void Drag(int X) {
    QMouseEvent move(QEvent::MouseMove, QPointF(X, Bar->height() / 2),
                     Bar->mapToGlobal(QPointF(X, Bar->height() / 2)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Bar, &move);
  }
  void Release(int X) {
    QTest::mouseRelease(Bar, Qt::LeftButton, {}, QPoint(X, Bar->height() / 2));
  }

  QWidget Host;
  TBar* Bar = nullptr;
  TRecordingPlayer Player{true, 60 * s};
};

class PosBarTest : public TBarFixture<TFMXPosBar> {
 protected:
  void SetUp() override {
    Show(600, 20);
    Bar->SetMfPlayer(&Player);
    Bar->SetMax(60 * s);
  }
};

class VolBarTest : public TBarFixture<TFMXVolBar> {
 protected:
  void SetUp() override {
    Show(100, 20);
    Bar->SetMfPlayer(&Player);
  }
};
}  // namespace

TEST_F(PosBarTest, PressAndDragSeek) {
  Press(300);
  Drag(650);  // past the right end: capped 0.3 s before the end
  Drag(-20);  // past the left end
  Drag(150);
  Release(150);  // the release itself does not seek
  EXPECT_EQ(Player.Seeks, (std::vector<uint64_t>{30 * s, 597 * s / 10, 0, 15 * s}));
  EXPECT_EQ(Bar->GetValue(), 15 * s);
  Drag(400);  // no button held: nothing
  EXPECT_EQ(Player.Seeks.size(), 4u);
}

TEST_F(PosBarTest, StatusReportDuringADrag) {
  Press(300);
  Bar->SetValue(45 * s);  // a report moves the bar like any other time
  EXPECT_EQ(Bar->GetValue(), 45 * s);
  EXPECT_DOUBLE_EQ(Bar->GetRectF().Bounds.width(), 450);
  Drag(310);  // and the next move seeks from the pointer again
  Release(310);
  EXPECT_EQ(Player.Seeks, (std::vector<uint64_t>{30 * s, 31 * s}));
}

TEST_F(PosBarTest, WrittenValues) {
  struct TCase {
    const char* name;
    uint64_t max, value, stored;
  };
  const TCase cases[] = {
      {"inside", 60 * s, 30 * s, 30 * s},
      {"beyond the margin", 60 * s, 60 * s, 597 * s / 10},
      {"at the margin", 60 * s, 597 * s / 10, 597 * s / 10},
      {"0.3 s medium", 3 * s / 10, 1, 0},
      {"0.2 s medium", 2 * s / 10, s / 10, 0},
  };
  for (const TCase& c : cases) {
    Bar->SetMax(c.max);
    Bar->SetValue(c.value);
    EXPECT_EQ(Bar->GetValue(), c.stored) << c.name;
  }
  Bar->SetValue(30 * s);
  Bar->SetMax(0);
  EXPECT_EQ(Bar->GetMax(), 1u);
  EXPECT_EQ(Bar->GetValue(), 0u);
  EXPECT_FALSE(Bar->GetRectF().Visible);  // value 0 hides the played part
}

TEST_F(PosBarTest, NoPlayerOrNoVideoGivesZero) {
  Player.isVideo = false;
  Bar->SetValue(30 * s);
  EXPECT_EQ(Bar->GetValue(), 0u);
  Press(300);
  Release(300);
  EXPECT_EQ(Player.Seeks, (std::vector<uint64_t>{0}));

  Bar->SetMfPlayer(nullptr);
  Bar->SetValue(30 * s);
  EXPECT_EQ(Bar->GetValue(), 0u);
  Press(300);  // no player: no seek, nothing stored
  Release(300);
  EXPECT_EQ(Player.Seeks.size(), 1u);
  EXPECT_EQ(Bar->GetValue(), 0u);
}

TEST_F(PosBarTest, GeometryAndRepaintInWholePixels) {
  EXPECT_EQ(Bar->GetRectB().Bounds, QRectF(0, 8, 600, 4));  // the middle fifth
  Bar->SetValue(30 * s);
  EXPECT_TRUE(Bar->GetRectF().Visible);
  EXPECT_EQ(Bar->GetRectF().Bounds, QRectF(0, 8, 300, 4));
  Settle();
  TPaintCounter paints(Bar);
  Bar->SetValue(30 * s + 500000);  // 300.5 px: the same whole pixel
  Settle();
  EXPECT_EQ(paints.Count, 0);
  EXPECT_DOUBLE_EQ(Bar->GetRectF().Bounds.width(), 300);
  Bar->SetValue(30 * s + 1000000);  // 301 px
  Settle();
  EXPECT_GE(paints.Count, 1);
  EXPECT_DOUBLE_EQ(Bar->GetRectF().Bounds.width(), 301);

  Bar->resize(300, 50);
  EXPECT_EQ(Bar->GetRectB().Bounds, QRectF(0, 20, 300, 10));
  EXPECT_DOUBLE_EQ(Bar->GetRectF().Bounds.width(), 150.5);
}

TEST_F(PosBarTest, ColoursOfEachMode) {
  Bar->SetValue(30 * s);
  auto sample = [&](int x) { return Shot(Bar).pixel(x, 10); };
  EXPECT_EQ(sample(100), AccentNoneColor);
  EXPECT_EQ(sample(500), ForeColor2);
  SendEnter(Bar);
  EXPECT_EQ(sample(100), AccentColor);
  EXPECT_EQ(sample(500), ForeColor1);
  Press(300);
  SendLeave(Bar);  // pressed wins
  EXPECT_EQ(sample(100), AccentDownColor);
  EXPECT_EQ(sample(500), ForeColor0);
  Release(300);
  EXPECT_EQ(Bar->GetFMXMouseMode(), TFMXMouseMode::isNone);
  EXPECT_EQ(qAlpha(Shot(Bar).pixel(100, 2)), 0);  // outside the track strip
  EXPECT_EQ(Bar->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PosBarTest, WheelGoesToTheOwner) {
  int wheels = 0;
  Bar->SetOnMouseWheel([&](QObject* Sender, QWheelEvent*) {
    EXPECT_EQ(Sender, Bar);
    ++wheels;
  });
  QWheelEvent wheel(QPointF(10, 10), Bar->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(Bar, &wheel);
  EXPECT_EQ(wheels, 1);
  EXPECT_TRUE(Player.Seeks.empty());
}

TEST_F(VolBarTest, WedgeGeometry) {
  Bar->SetValue(0.5f);
  const QPainterPath& back = Bar->GetPathB().Data;
  const QPainterPath& front = Bar->GetPathF().Data;
  auto points = [](const QPainterPath& APath) {
    std::vector<QPointF> list;
    for (int i = 0; i < APath.elementCount(); ++i)
      list.push_back(APath.elementAt(i));
    return list;
  };
  EXPECT_EQ(points(back), (std::vector<QPointF>{{0, 20}, {100, 0}, {100, 20}, {0, 20}}));
  EXPECT_EQ(points(front), (std::vector<QPointF>{{0, 20}, {50, 10}, {50, 20}, {0, 20}}));

  // Painted: inside the filled part, in the empty part of the wedge, above it.
  const QImage image = Shot(Bar);
  EXPECT_EQ(image.pixel(40, 18), AccentNoneColor);
  EXPECT_EQ(image.pixel(80, 18), ForeColor2);
  EXPECT_EQ(qAlpha(image.pixel(20, 2)), 0);
}

TEST_F(VolBarTest, PressesAndClamps) {
  struct TCase {
    int x;
    float volume;
  };
  for (const TCase& c : {TCase{150, 1.0f}, TCase{0, 0.0f}, TCase{-30, 0.0f}, TCase{25, 0.25f}}) {
    Player.Volumes.clear();
    Press(c.x);
    Release(c.x);
    ASSERT_EQ(Player.Volumes.size(), 1u) << c.x;
    EXPECT_FLOAT_EQ(Player.Volumes[0], c.volume) << c.x;
    EXPECT_FLOAT_EQ(Bar->GetValue(), c.volume) << c.x;
  }
  Player.Volumes.clear();
  Press(10);
  Drag(70);
  Drag(200);
  Release(200);
  EXPECT_EQ(Player.Volumes, (std::vector<float>{0.1f, 0.7f, 1.0f}));

  for (float written : {-0.5f, 2.0f, std::numeric_limits<float>::quiet_NaN()})
    Bar->SetValue(written);
  EXPECT_FLOAT_EQ(Bar->GetValue(), 0.0f);  // NaN reads as nothing
  Bar->SetValue(2.0f);
  EXPECT_FLOAT_EQ(Bar->GetValue(), 1.0f);
}

TEST_F(VolBarTest, NoPlayerOrNoVideoGivesZero) {
  Player.isVideo = false;
  Bar->SetValue(0.8f);
  EXPECT_FLOAT_EQ(Bar->GetValue(), 0.0f);
  Bar->SetMfPlayer(nullptr);
  Bar->SetValue(0.8f);
  EXPECT_FLOAT_EQ(Bar->GetValue(), 0.0f);
  Press(50);
  Release(50);
  EXPECT_TRUE(Player.Volumes.empty());
}
