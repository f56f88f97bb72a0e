// The time text and the skips the transport buttons and the wheel share.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "ControlsTestUtil.h"
#include "controls/uFMXBtnMedia.h"

TEST(TimeHelpers, MsToHnsAndDefaultStep) {
  EXPECT_EQ(MsToHns(0), 0u);
  EXPECT_EQ(MsToHns(1), 10000u);
  EXPECT_EQ(MsToHns(3000), 30000000u);
  EXPECT_EQ(DefaultSkipCount, 30000000u);
}

TEST(TimeHelpers, HnsToStr) {
  struct TCase {
    int64_t t;
    const char* text;
  };
  const TCase cases[] = {
      {0, "00:00:00"},
      {37250000000, "01:02:05"},         // 3,725 s
      {599900000, "00:00:59"},           // 59.99 s: dropped, not rounded
      {600000000, "00:01:00"},
      {35999999999, "00:59:59"},
      {3600000000000, "100:00:00"},      // hours are not limited
      {-37250000000, "-01:02:05"},       // one sign in front, not one per group
      {-50000000, "-00:00:05"},
      {-5000000, "00:00:00"},            // -0.5 s truncates to nothing
      {std::numeric_limits<int64_t>::max(), "256204778:48:05"},
      {std::numeric_limits<int64_t>::min(), "-256204778:48:05"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(HnsToStr(c.t), QString::fromLatin1(c.text)) << "t = " << c.t;
}

TEST(TimeHelpers, Skips) {
  constexpr uint64_t s = 10000000;
  struct TCase {
    const char* name;
    bool isForward;
    uint64_t duration, position, amount, target;
  };
  const TCase cases[] = {
      {"forward inside the medium", true, 60 * s, 5 * s, 3 * s, 8 * s},
      {"forward capped 0.3 s before the end", true, 60 * s, 58 * s, 3 * s, 597 * s / 10},
      {"forward from inside the last 0.3 s goes back", true, 60 * s, 599 * s / 10, 3 * s, 597 * s / 10},
      {"forward on a 0.3 s medium", true, 3 * s / 10, 0, 3 * s, 0},
      {"forward on a 0.2 s medium", true, 2 * s / 10, s / 10, 3 * s, 0},
      {"forward without wrapping", true, 60 * s, 5 * s, UINT64_MAX, 597 * s / 10},
      {"back inside the medium", false, 60 * s, 10 * s, s, 9 * s},
      {"back from 0.5 s", false, 60 * s, 5 * s / 10, s, 0},
      {"back from exactly 1 s", false, 60 * s, s, s, 0},
  };
  for (const TCase& c : cases) {
    TRecordingPlayer player(true, c.duration, c.position);
    if (c.isForward)
      SkipFwd(&player, c.amount);
    else
      SkipRwd(&player, c.amount);
    ASSERT_EQ(player.Seeks.size(), 1u) << c.name;
    EXPECT_EQ(player.Seeks[0], c.target) << c.name;
  }
  // No player: nothing to do, nothing to crash on.
  SkipFwd(nullptr, 3 * s);
  SkipRwd(nullptr, 3 * s);
}
