#include "settings/uFMXUtils.h"

#include "settings/uAppearance.h"

#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

bool IsWin10 = false, IsSysLight = false, IsLightMode = true;
uint8_t DarkMode = 0;
int32_t FontSize = 0;
bool isSetJA = true;
QRgb AccentColor = 0, AccentNoneColor = 0, AccentDownColor = 0,
     BackColor0 = 0, BackColor1 = 0, BackColor2 = 0, ForeColor0 = 0, ForeColor1 = 0, ForeColor2 = 0;

namespace {

// The accent used when the desktop does not name one.
constexpr QRgb DefaultAccent = 0xFF00A2ED;

struct THsl {
  double H, S, L;
};

THsl RgbToHsl(QRgb c) {
  const double r = qRed(c) / 255.0, g = qGreen(c) / 255.0, b = qBlue(c) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double l = (mx + mn) / 2;
  if (mx == mn) return {0, 0, l};
  const double d = mx - mn;
  const double s = l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
  double h;
  if (mx == r)
    h = (g - b) / d + (g < b ? 6 : 0);
  else if (mx == g)
    h = (b - r) / d + 2;
  else
    h = (r - g) / d + 4;
  return {h / 6, s, l};
}

double HueToChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 1.0 / 2) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

QRgb HslToRgb(double h, double s, double l) {
  auto channel = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  if (s == 0) return qRgb(channel(l), channel(l), channel(l));
  const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  const double p = 2 * l - q;
  return qRgb(channel(HueToChannel(p, q, h + 1.0 / 3)), channel(HueToChannel(p, q, h)),
              channel(HueToChannel(p, q, h - 1.0 / 3)));
}

}  // namespace

void InitTheme() {
  IsWin10 = true;  // this platform always has the modern, system-following appearance
  const TSystemAppearance system = AppearanceProvider().Read();
  AccentColor = system.Accent.value_or(DefaultAccent);
  IsSysLight = system.IsLight.value_or(true);
  SetThemeColors();
}

void SetThemeColors() {
  IsLightMode = true;
  if (IsWin10) {
    switch (DarkMode) {
      case 0: IsLightMode = IsSysLight; break;
      case 2: IsLightMode = false; break;
      default: break;
    }
  }
  const THsl hsl = RgbToHsl(AccentColor);
  // Single precision on purpose: it decides halfway cases such as the grey accent.
  const float lighter = float((hsl.L + 4) / 8);
  const float darker = float(hsl.L * 7 / 8);
  const QRgb lighterColor = HslToRgb(hsl.H, hsl.S, lighter);
  const QRgb darkerColor = HslToRgb(hsl.H, hsl.S, darker);
  AccentDownColor = IsLightMode ? lighterColor : darkerColor;
  AccentNoneColor = IsLightMode ? darkerColor : lighterColor;
  if (IsLightMode) {
    BackColor0 = 0xFFFFFFFF; BackColor1 = 0xFFEEEEEE; BackColor2 = 0xFFDDDDDD;
    ForeColor0 = 0xFF000000; ForeColor1 = 0xFF111111; ForeColor2 = 0xFF222222;
  } else {
    BackColor0 = 0xFF000000; BackColor1 = 0xFF111111; BackColor2 = 0xFF222222;
    ForeColor0 = 0xFFFFFFFF; ForeColor1 = 0xFFDDDDDD; ForeColor2 = 0xFFBBBBBB;
  }
}

bool SetDarkTitleBar(QWidget* window) {
  if (IsLightMode || !window) return false;
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return false;
  xcb_connection_t* c = x11->connection();
  auto intern = [c](const char* name) -> xcb_atom_t {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_ATOM_NONE;
    free(reply);
    return atom;
  };
  const xcb_atom_t variant = intern("_GTK_THEME_VARIANT"), utf8 = intern("UTF8_STRING");
  if (variant == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE) return false;
  // The title bar belongs to the top-level window; winId() creates it if needed.
  const auto native = xcb_window_t(window->window()->winId());
  static const char dark[] = "dark";
  const xcb_void_cookie_t cookie = xcb_change_property_checked(
      c, XCB_PROP_MODE_REPLACE, native, variant, utf8, 8, uint32_t(sizeof dark - 1), dark);
  xcb_generic_error_t* error = xcb_request_check(c, cookie);
  free(error);
  return error == nullptr;
}

bool SetWindowCorner(QWidget*, uint8_t) {
  return false;  // no window manager here takes a corner preference
}

bool IsLangJA() {
  return isSetJA && QLocale::system().language() == QLocale::Japanese;
}

QString GetVersionStr() {
  QStringList parts = QStringLiteral(QUENNEL_VERSION).split('.', Qt::SkipEmptyParts);
  while (parts.size() < 4) parts.append(QStringLiteral("0"));
  return parts.join('.');
}

void ShellOpen(const QString& target) {
  if (target.isEmpty()) return;
  // An existing path opens as a file, anything else as an address.
  QDesktopServices::openUrl(QUrl::fromUserInput(target, QDir::currentPath()));
}
