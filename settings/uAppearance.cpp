#include "settings/uAppearance.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cmath>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString PortalInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString AppearanceNamespace = QStringLiteral("org.freedesktop.appearance");

// Read() wraps the value in one variant per portal version; peel them all.
QVariant Unwrap(QVariant value) {
  while (value.metaType() == QMetaType::fromType<QDBusVariant>())
    value = value.value<QDBusVariant>().variant();
  return value;
}

std::optional<QRgb> AccentFromVariant(const QVariant& value) {
  if (value.metaType() != QMetaType::fromType<QDBusArgument>()) return std::nullopt;
  const auto arg = value.value<QDBusArgument>();
  if (arg.currentSignature() != QLatin1String("(ddd)")) return std::nullopt;
  double r = 0, g = 0, b = 0;
  arg.beginStructure();
  arg >> r >> g >> b;
  arg.endStructure();
  return PortalAccentToColor(r, g, b);
}

std::optional<bool> SchemeFromVariant(const QVariant& value) {
  if (value.metaType() != QMetaType::fromType<uint>()) return std::nullopt;
  return PortalSchemeIsLight(value.toUInt());
}

// The session bus as the environment names it. We never let libdbus
// autolaunch a bus just to learn a colour.
QDBusConnection ConnectSessionBus() {
  static const QString name = QStringLiteral("quennel-appearance");
  QDBusConnection::disconnectFromBus(name);
  QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
  if (address.isEmpty()) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus")))
      address = QStringLiteral("unix:path=") + runtime + QStringLiteral("/bus");
  }
  if (address.isEmpty() || !QCoreApplication::instance()) return QDBusConnection(name);
  return QDBusConnection::connectToBus(address, name);
}

// The default provider: opens its own connection for the one read at start
// and closes it again.
class TSessionPortalAppearance : public TAppearanceProvider {
 public:
  TSystemAppearance Read() override {
    QDBusConnection bus = ConnectSessionBus();
    TSystemAppearance result = TPortalAppearance(bus).Read();
    QDBusConnection::disconnectFromBus(bus.name());
    return result;
  }
};

std::unique_ptr<TAppearanceProvider>& ProviderSlot() {
  static std::unique_ptr<TAppearanceProvider> provider;
  return provider;
}

}  // namespace

TPortalAppearance::TPortalAppearance(QDBusConnection connection, int timeoutMs)
    : FConnection(std::move(connection)), FTimeoutMs(timeoutMs) {}

TSystemAppearance TPortalAppearance::Read() {
  TSystemAppearance result;
  if (!FConnection.isConnected()) return result;
  QElapsedTimer clock;
  clock.start();
  auto readKey = [&](const QString& key) -> std::optional<QVariant> {
    const qint64 left = FTimeoutMs - clock.elapsed();
    if (left <= 0) return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath, PortalInterface,
                                                       QStringLiteral("Read"));
    call << AppearanceNamespace << key;
    const QDBusMessage reply = FConnection.call(call, QDBus::Block, int(left));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return std::nullopt;
    return Unwrap(reply.arguments().constFirst());
  };
  if (const auto v = readKey(QStringLiteral("accent-color"))) result.Accent = AccentFromVariant(*v);
  if (const auto v = readKey(QStringLiteral("color-scheme"))) result.IsLight = SchemeFromVariant(*v);
  return result;
}

std::optional<QRgb> PortalAccentToColor(double r, double g, double b) {
  auto inRange = [](double c) { return c >= 0.0 && c <= 1.0; };  // false for NaN too
  if (!inRange(r) || !inRange(g) || !inRange(b)) return std::nullopt;
  auto channel = [](double c) { return int(std::lround(c * 255.0)); };
  return qRgb(channel(r), channel(g), channel(b));
}

std::optional<bool> PortalSchemeIsLight(uint32_t scheme) {
  if (scheme == 1) return false;
  if (scheme == 2) return true;
  return std::nullopt;
}

void SetAppearanceProvider(std::unique_ptr<TAppearanceProvider> provider) {
  ProviderSlot() = std::move(provider);
}

TAppearanceProvider& AppearanceProvider() {
  auto& provider = ProviderSlot();
  if (!provider) provider = std::make_unique<TSessionPortalAppearance>();
  return *provider;
}
