// Reading icon path data and stretching it onto a button.
#include <gtest/gtest.h>

#include <QPainterPath>

#include "controls/uFMXIcons.h"
#include "controls/uFMXSvgPath.h"

namespace {
QRectF Bounds(const char* AText) {
  QPainterPath path;
  EXPECT_TRUE(ParseSvgPath(QString::fromLatin1(AText), path)) << AText;
  return path.boundingRect();
}
}  // namespace

TEST(SvgPath, ReadsTheNumberForms) {
  QPainterPath path;
  ASSERT_TRUE(ParseSvgPath(QStringLiteral("M.5,0 L1.000,1 L0 1 Z"), path));
  ASSERT_EQ(path.elementCount(), 4);  // move, two lines, the closing line
  EXPECT_EQ(QPointF(path.elementAt(0)), QPointF(0.5, 0));
  EXPECT_EQ(QPointF(path.elementAt(1)), QPointF(1, 1));
  EXPECT_EQ(QPointF(path.elementAt(2)), QPointF(0, 1));
  EXPECT_EQ(QPointF(path.elementAt(3)), QPointF(0.5, 0));

  // Curves, signs, exponents, repeated coordinates and a new sub-path after Z.
  EXPECT_EQ(Bounds("M0,0 C0,1 1,1 1,0 Z"), QRectF(0, 0, 1, 0.75));
  EXPECT_EQ(Bounds("M-1,-2e-1 L1,2E1"), QRectF(-1, -0.2, 2, 20.2));
  EXPECT_EQ(Bounds("M0,0 1,0 1,1 Z"), QRectF(0, 0, 1, 1));
  EXPECT_EQ(Bounds("M0,0 L1,0 L1,1 Z L0,2"), QRectF(0, 0, 1, 2));
}

TEST(SvgPath, MalformedTextGivesAnEmptyPath) {
  const char* cases[] = {
      "M0.5",             // half a point
      "L1,1",             // no current point
      "M0,0 L1,x",        // not a number
      "M0,0 l1,1",        // relative commands are not ours
      "M0,0 A1,1 0 0 1 1,1",
      "M0,0 C1,1 2,2",    // a curve without its end point
      "M0,0 L.,1",
      "M0,0 L1e,1",
      "0,0",
      "M0,0 L1e999,0",    // not finite
      "Z",
  };
  for (const char* text : cases) {
    QPainterPath path;
    path.addRect(0, 0, 1, 1);  // must be cleared
    EXPECT_FALSE(ParseSvgPath(QString::fromLatin1(text), path)) << text;
    EXPECT_TRUE(path.isEmpty()) << text;
  }
  QPainterPath empty;
  EXPECT_TRUE(ParseSvgPath(QString(), empty));
  EXPECT_TRUE(empty.isEmpty());
}

TEST(SvgPath, EveryIconReadsAndCoversItsSquare) {
  const char* icons[] = {IconPlay, IconPause, IconSkipFwd, IconSkipRwd, IconOpen, IconSrtOpen,
                         IconRegEx, IconSearch, IconSrtBack, IconSrtNext, IconGear, IconInfo};
  for (const char* icon : icons) {
    const QRectF box = Bounds(icon);
    EXPECT_GE(box.left(), -0.001) << icon;
    EXPECT_GE(box.top(), -0.001) << icon;
    EXPECT_LE(box.right(), 1.001) << icon;
    EXPECT_LE(box.bottom(), 1.001) << icon;
    EXPECT_GT(box.width() * box.height(), 0.5) << icon;
  }
}

TEST(SvgPath, StretchesEachAxisOntoTheTarget) {
  QPainterPath path;
  ASSERT_TRUE(ParseSvgPath(QStringLiteral("M0.25,0.5 L0.75,0.5 L0.75,0.75 Z"), path));
  const QRectF target(3, 3, 34, 24);
  const QPainterPath stretched = StretchPath(path, target);
  EXPECT_EQ(stretched.boundingRect(), target);
  EXPECT_EQ(QPointF(stretched.elementAt(0)), QPointF(3, 3));
  EXPECT_EQ(QPointF(stretched.elementAt(2)), QPointF(37, 27));

  // A flat line keeps its thickness-free axis centred instead of dividing by 0.
  ASSERT_TRUE(ParseSvgPath(QStringLiteral("M0,0.5 L1,0.5"), path));
  const QRectF line = StretchPath(path, target).boundingRect();
  EXPECT_EQ(line.left(), 3);
  EXPECT_EQ(line.right(), 37);
  EXPECT_EQ(line.top(), 15);
}
