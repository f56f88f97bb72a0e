// The per-second index, the lookups the panel and the wheel use, the panel
// text and the measurement of all texts.
#include "SrtFiles.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr uint16_t None = 0xFFFF;
constexpr uint64_t Sec = 10000000;  // one second in player units

uint64_t At(double seconds) { return uint64_t(seconds * Sec + 0.5); }

TEST(MakeSrtIndex, OneSlotPerSecondWithTheEndSecondIncluded) {
  const TSrtLists list{{1500, 2200, "a\r\n"}, {4000, 4000, "b\r\n"}, {5000, 6999, "c\r\n"}};
  EXPECT_EQ(MakeSrtIndex(list), (TSrtIndex{None, 0, 0, None, 1, 2, 2}));
}

TEST(MakeSrtIndex, LaterEntryWinsASharedSecond) {
  const TSrtLists list{{1000, 5300, "A\r\n"}, {5600, 8000, "B\r\n"}};
  const TSrtIndex index = MakeSrtIndex(list);
  EXPECT_EQ(GetSrtIndex(At(4.9), index), 0);
  EXPECT_EQ(GetSrtIndex(At(5.0), index), 1);
  EXPECT_EQ(GetSrtIndex(At(5.4), index), 1);
}

TEST(MakeSrtIndex, OutOfOrderEntriesAllFitAndBackwardEntriesGetNoSlot) {
  // The second entry ends before the first; the third ends before it starts.
  const TSrtLists list{{2000, 9000, "long\r\n"}, {1000, 3000, "early\r\n"}, {6000, 4000, "backwards\r\n"}};
  EXPECT_EQ(MakeSrtIndex(list), (TSrtIndex{None, 1, 1, 1, 0, 0, 0, 0, 0, 0}));
}

TEST(MakeSrtIndex, HandBuiltListBeyondTheModelIsClipped) {
  TSrtLists list{{1000, 2000, "a\r\n"}, {65535000, 90000000, "clipped\r\n"}, {70000000, 80000000, "none\r\n"}};
  const TSrtIndex index = MakeSrtIndex(list);
  ASSERT_EQ(index.size(), 65536u);
  EXPECT_EQ(index[65535], 1);
  EXPECT_EQ(std::count(index.begin(), index.end(), 2), 0);
}

TEST(GetSrtIndex, GapsBeforeAndAfterAreNoEntry) {
  const TSrtIndex index = MakeSrtIndex({{1500, 2200, "a\r\n"}, {5000, 6000, "b\r\n"}});
  const std::pair<double, uint16_t> cases[] = {
      {0.0, None}, {0.999, None}, {1.0, 0}, {2.999, 0}, {3.0, None},
      {4.5, None}, {5.0, 1},      {6.9, 1}, {7.0, None}, {1e6, None},
  };
  for (const auto& [seconds, entry] : cases) EXPECT_EQ(GetSrtIndex(At(seconds), index), entry) << seconds;
  // Past the table is past everything, also a whole 16-bit turn later.
  EXPECT_EQ(GetSrtIndex(65536 * Sec + At(1.5), index), None);
  EXPECT_EQ(GetSrtIndex(UINT64_MAX, index), None);
}

TEST(GetSrtIndex, EmptyListGivesEmptyIndex) {
  const TSrtIndex index = MakeSrtIndex({});
  EXPECT_TRUE(index.empty());
  EXPECT_EQ(GetSrtIndex(At(1), index), None);
  EXPECT_EQ(NextSrtTime(At(1.5), index), At(1.5));
  EXPECT_EQ(PrevSrtTime(At(1.5), index), At(1.5));
}

// Seconds 0 to 9.
const TSrtIndex Slots{None, None, 0, 0, None, 1, 1, 1, 2, 2};

TEST(NextSrtTime, StartOfTheNextEntryOrTheTimeItself) {
  const std::pair<double, double> cases[] = {
      {0.0, 2}, {2.0, 5}, {3.5, 5}, {4.2, 5}, {6.0, 8}, {8.0, 8.0}, {9.1, 9.1}, {12, 12},
  };
  for (const auto& [from, to] : cases) EXPECT_EQ(NextSrtTime(At(from), Slots), At(to)) << from;
}

TEST(PrevSrtTime, StartOfTheEntryBeforeTheCurrentOne) {
  const std::pair<double, double> cases[] = {
      {6.0, 2}, {8.4, 5}, {9.9, 5}, {4.5, 2}, {2.7, 0}, {0.5, 0}, {15, 8}, {10, 8},
  };
  for (const auto& [from, to] : cases) EXPECT_EQ(PrevSrtTime(At(from), Slots), At(to)) << from;
}

TEST(PrevSrtTime, WalkThatReachesSecondZeroGivesZero) {
  EXPECT_EQ(PrevSrtTime(At(3.5), TSrtIndex{None, 0, 0, 1}), 0u);
}

TEST(PrevSrtTime, AfterTheEndSkipsEmptySecondsAtTheEndOfTheTable) {
  // An entry ending before it starts can leave empty seconds at the end.
  const TSrtIndex index = MakeSrtIndex({{3000, 4000, "a\r\n"}, {9000, 8000, "backwards\r\n"}});
  ASSERT_EQ(index.size(), 9u);
  EXPECT_EQ(PrevSrtTime(At(20), index), At(3));
}

TEST(GetSrtText, PanelTextOfAnEntry) {
  const TSrtLists list{{1000, 2000, "Hello\r\nWorld\r\n"}, {3000, 4000, ""}};
  EXPECT_EQ(GetSrtText(0, list), "Hello\r\nWorld\r\n");
  EXPECT_EQ(GetSrtText(1, list), "");
  EXPECT_TRUE(GetSrtText(None, list).isEmpty());
  EXPECT_THROW(GetSrtText(2, list), std::out_of_range);
  EXPECT_TRUE(GetSrtText(None, {}).isEmpty());
}

TEST(SrtFontSizes, AutoSmallerSmallNormalLargeLarger) {
  EXPECT_EQ(std::vector<float>(std::begin(SrtFontSizes), std::end(SrtFontSizes)),
            (std::vector<float>{9, 6, 9, 11, 16, 24}));
}

TEST(GetSrtPoint, EmptyListMeasuresNothing) {
  EXPECT_EQ(GetSrtPoint({}, "DejaVu Sans"), QPointF(0, 0));
}

TEST(GetSrtPoint, WidestTextAndTallestTextMayBeDifferentEntries) {
  QFont font("DejaVu Sans");
  font.setPointSizeF(SrtFontSizes[0]);
  const QFontMetricsF metrics(font);
  const QString wide = "A single line that is much wider than the others\r\n";
  const QString tall = "one\r\ntwo\r\nthree\r\n";
  const TSrtLists list{{0, 1000, "short\r\n"}, {1000, 2000, wide}, {2000, 3000, tall}, {3000, 4000, "x\r\n"}};

  const QPointF point = GetSrtPoint(list, "DejaVu Sans");
  const QRectF wideRect = metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, wide);
  const QRectF tallRect = metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, tall);
  EXPECT_DOUBLE_EQ(point.x(), wideRect.width());
  EXPECT_DOUBLE_EQ(point.y(), tallRect.height() * 0.65);
  EXPECT_GT(tallRect.height(), 2.5 * metrics.lineSpacing());  // lines are not run together
  // Doubling the font would double the extent: the size is the measuring one.
  font.setPointSizeF(2 * SrtFontSizes[0]);
  EXPECT_LT(point.x(), QFontMetricsF(font).horizontalAdvance(wide.trimmed()));
}

}  // namespace
