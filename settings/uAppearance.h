// Where the desktop's accent colour and light/dark preference come from.
#pragma once

#include <QDBusConnection>
#include <QRgb>
#include <memory>
#include <optional>

// What the desktop told us; an empty field means "no answer", and the
// caller falls back to its default.
struct TSystemAppearance {
  std::optional<QRgb> Accent;     // opaque
  std::optional<bool> IsLight;    // the desktop asks applications for light colours
};

class TAppearanceProvider {
 public:
  virtual ~TAppearanceProvider() = default;
  virtual TSystemAppearance Read() = 0;
};

// Reads org.freedesktop.appearance from the XDG desktop portal. Both calls
// together never take longer than the time-out, so start-up cannot hang on a
// slow or stuck portal.
class TPortalAppearance : public TAppearanceProvider {
 public:
  static constexpr int DefaultTimeoutMs = 250;
  explicit TPortalAppearance(QDBusConnection connection, int timeoutMs = DefaultTimeoutMs);
  TSystemAppearance Read() override;

 private:
  QDBusConnection FConnection;
  int FTimeoutMs;
};

// The portal's accent is three doubles in 0..1; anything outside means unset.
std::optional<QRgb> PortalAccentToColor(double r, double g, double b);
// color-scheme: 1 prefer dark, 2 prefer light, 0 (or anything else) no preference.
std::optional<bool> PortalSchemeIsLight(uint32_t scheme);

// The provider InitTheme asks: by default the portal on the session bus.
// Tests put their own in; nullptr restores the default.
void SetAppearanceProvider(std::unique_ptr<TAppearanceProvider> provider);
TAppearanceProvider& AppearanceProvider();
