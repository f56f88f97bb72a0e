#include "settings/uFMXUtils.h"

bool IsWin10 = false, IsSysLight = false, IsLightMode = true;
uint8_t DarkMode = 0;
int32_t FontSize = 0;
bool isSetJA = true;
QRgb AccentColor = 0, AccentNoneColor = 0, AccentDownColor = 0,
     BackColor0 = 0, BackColor1 = 0, BackColor2 = 0, ForeColor0 = 0, ForeColor1 = 0, ForeColor2 = 0;

void InitTheme() {}
void SetThemeColors() {}
bool SetDarkTitleBar(QWidget*) { return false; }
bool SetWindowCorner(QWidget*, uint8_t) { return false; }
void LoadSettings() {}
void SaveSettings() {}
QString SettingsFileName() { return {}; }
bool IsLangJA() { return false; }
QString GetVersionStr() { return QStringLiteral(QUENNEL_VERSION); }
void ShellOpen(const QString&) {}
