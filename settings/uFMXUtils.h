// Appearance, settings file, language and shell helpers shared by every window
// and control of Quennel.
#pragma once

#include <QRgb>
#include <QString>
#include <cstdint>

class QWidget;

// Theme state. Colours are opaque ARGB values; nothing outside this unit
// writes them.
extern bool IsWin10, IsSysLight, IsLightMode;
extern uint8_t DarkMode;      // 0 Auto (follow the system), 1 Light, 2 Dark
extern int32_t FontSize;      // 0..5, index into the subtitle font-size table
extern bool isSetJA;          // may the system language switch us to Japanese
extern QRgb AccentColor, AccentNoneColor, AccentDownColor,
            BackColor0, BackColor1, BackColor2, ForeColor0, ForeColor1, ForeColor2;

// Reads the desktop appearance once and derives the first colour set.
// Called by the program at start, before any window exists.
void InitTheme();
// Derives IsLightMode and the colour set from IsWin10, IsSysLight, DarkMode
// and AccentColor.
void SetThemeColors();

// Dark mode only: asks the window manager for a dark title bar (X11).
bool SetDarkTitleBar(QWidget* window);
// No corner preference on this platform; always False.
bool SetWindowCorner(QWidget* window, uint8_t preference);

// The INI file holding DarkMode, FontSize and isSetJA. Load never fails;
// Save throws std::runtime_error naming the file and the reason.
void LoadSettings();
void SaveSettings();
QString SettingsFileName();   // the file LoadSettings and SaveSettings use

bool IsLangJA();
QString GetVersionStr();      // "major.minor.patch.tweak" of this build
void ShellOpen(const QString& target);
