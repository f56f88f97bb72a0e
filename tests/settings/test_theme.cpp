#include "settings/uAppearance.h"
#include "settings/uFMXUtils.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct TThemeCase {
  QRgb Accent;
  bool Light;
  QRgb None, Down;
};

void PrintTo(const TThemeCase& c, std::ostream* os) {
  *os << std::hex << c.Accent << (c.Light ? " light" : " dark");
}

class ThemeColors : public ::testing::TestWithParam<TThemeCase> {};

TEST_P(ThemeColors, DerivesAccentShadesFromTheAccent) {
  const TThemeCase& c = GetParam();
  IsWin10 = true;
  DarkMode = c.Light ? 1 : 2;
  AccentColor = c.Accent;
  SetThemeColors();
  EXPECT_EQ(IsLightMode, c.Light);
  EXPECT_EQ(AccentNoneColor, c.None) << std::hex << AccentNoneColor;
  EXPECT_EQ(AccentDownColor, c.Down) << std::hex << AccentDownColor;
  EXPECT_EQ(AccentColor, c.Accent);  // the mode never touches the accent itself
  DarkMode = 0;
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, ThemeColors,
    ::testing::Values(TThemeCase{0xFF00A2ED, true, 0xFF008ECF, 0xFF1EB8FF},
                      TThemeCase{0xFF00A2ED, false, 0xFF1EB8FF, 0xFF008ECF},
                      // Saturation 0 stays grey; (L+4)/8 lands on 143.5 and single
                      // precision rounds it down.
                      TThemeCase{0xFF808080, true, 0xFF707070, 0xFF8F8F8F},
                      TThemeCase{0xFF808080, false, 0xFF8F8F8F, 0xFF707070},
                      // The accent's alpha byte plays no part; shades are opaque.
                      TThemeCase{0x0000A2ED, true, 0xFF008ECF, 0xFF1EB8FF}),
    [](const ::testing::TestParamInfo<TThemeCase>& info) {
      return QString::number(info.param.Accent, 16).rightJustified(8, '0').toUpper().toStdString() +
             (info.param.Light ? "_light" : "_dark");
    });

TEST(ThemeMode, ChoosesTheModeForEverySettingAndSystem) {
  struct {
    bool Win10, SysLight;
    uint8_t Dark;
    bool Light;
  } const cases[] = {
      {true, true, 0, true},    {true, false, 0, false},  // Auto follows the system
      {true, true, 1, true},    {true, false, 1, true},   // Light wins on a dark system
      {true, true, 2, false},   {true, false, 2, false},  // Dark wins on a light system
      {true, true, 7, true},    {true, false, 7, true},   // unknown values draw light
      {false, false, 0, true},  {false, true, 1, true},   // before "Windows 10": always light
      {false, false, 2, true},  {false, true, 2, true},
  };
  for (const auto& c : cases) {
    IsWin10 = c.Win10;
    IsSysLight = c.SysLight;
    DarkMode = c.Dark;
    AccentColor = 0xFF00A2ED;
    SetThemeColors();
    SCOPED_TRACE(testing::Message() << "win10=" << c.Win10 << " sysLight=" << c.SysLight
                                    << " DarkMode=" << int(c.Dark));
    ASSERT_EQ(IsLightMode, c.Light);
    const QRgb back[] = {BackColor0, BackColor1, BackColor2}, fore[] = {ForeColor0, ForeColor1, ForeColor2};
    const QRgb lightBack[] = {0xFFFFFFFF, 0xFFEEEEEE, 0xFFDDDDDD}, lightFore[] = {0xFF000000, 0xFF111111, 0xFF222222};
    const QRgb darkBack[] = {0xFF000000, 0xFF111111, 0xFF222222}, darkFore[] = {0xFFFFFFFF, 0xFFDDDDDD, 0xFFBBBBBB};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(back[i], c.Light ? lightBack[i] : darkBack[i]) << i;
      EXPECT_EQ(fore[i], c.Light ? lightFore[i] : darkFore[i]) << i;
    }
    EXPECT_EQ(AccentNoneColor, c.Light ? 0xFF008ECFu : 0xFF1EB8FFu);
  }
  DarkMode = 0;
}

class TFixedAppearance : public TAppearanceProvider {
 public:
  explicit TFixedAppearance(TSystemAppearance value) : FValue(value) {}
  TSystemAppearance Read() override { return FValue; }

 private:
  TSystemAppearance FValue;
};

TEST(ThemeStart, TakesTheDesktopAppearanceOrTheDefaults) {
  struct {
    TSystemAppearance System;
    QRgb Accent;
    bool SysLight;
  } const cases[] = {
      {{0xFF0078D7, false}, 0xFF0078D7, false},
      {{0xFF0078D7, true}, 0xFF0078D7, true},
      {{std::nullopt, std::nullopt}, 0xFF00A2ED, true},  // no portal, no value
      {{std::nullopt, false}, 0xFF00A2ED, false},
  };
  for (const auto& c : cases) {
    DarkMode = 0;
    IsWin10 = false;
    SetAppearanceProvider(std::make_unique<TFixedAppearance>(c.System));
    InitTheme();
    EXPECT_TRUE(IsWin10);
    EXPECT_EQ(AccentColor, c.Accent);
    EXPECT_EQ(IsSysLight, c.SysLight);
    EXPECT_EQ(IsLightMode, c.SysLight);  // Auto at start
  }
  SetAppearanceProvider(nullptr);
}

TEST(ThemeWindow, AsksNothingWithoutAnX11WindowOrInLightMode) {
  // These tests run offscreen: no X11 connection, so even dark mode answers False.
  QWidget window;
  IsLightMode = true;
  EXPECT_FALSE(SetDarkTitleBar(&window));
  IsLightMode = false;
  EXPECT_FALSE(SetDarkTitleBar(&window));
  EXPECT_FALSE(SetDarkTitleBar(nullptr));
  EXPECT_FALSE(window.testAttribute(Qt::WA_WState_Created));  // no native window forced
  for (uint8_t preference : {0, 1, 2, 3}) EXPECT_FALSE(SetWindowCorner(&window, preference));
  IsLightMode = true;
}

}  // namespace
