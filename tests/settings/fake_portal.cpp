// Stand-in for the desktop portal's Settings interface, run on a private bus
// by the portal tests.
//   fake_portal [--accent R,G,B | --accent-text] [--scheme N] [--delay MS] [--no-name]
// Prints the bus address, then "ready" once it answers; quits when stdin closes.
#include <QCoreApplication>
#include "tests/settings/QtThreadsTsan.h"
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <unistd.h>

struct TRgb {
  double R = 0, G = 0, B = 0;
};
Q_DECLARE_METATYPE(TRgb)

QDBusArgument& operator<<(QDBusArgument& arg, const TRgb& c) {
  arg.beginStructure();
  arg << c.R << c.G << c.B;
  arg.endStructure();
  return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, TRgb& c) {
  arg.beginStructure();
  arg >> c.R >> c.G >> c.B;
  arg.endStructure();
  return arg;
}

struct TOptions {
  std::optional<QVariant> Accent, Scheme;
  int DelayMs = 0;
  bool ClaimName = true;
};

class TFakeSettings : public QDBusVirtualObject {
 public:
  explicit TFakeSettings(const TOptions& options) : FOptions(options) {}

  QString introspect(const QString&) const override {
    return QStringLiteral(
        "<interface name=\"org.freedesktop.portal.Settings\">"
        "<method name=\"Read\"><arg type=\"s\" name=\"namespace\" direction=\"in\"/>"
        "<arg type=\"s\" name=\"key\" direction=\"in\"/>"
        "<arg type=\"v\" name=\"value\" direction=\"out\"/></method></interface>");
  }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() != QLatin1String("org.freedesktop.portal.Settings") ||
        message.member() != QLatin1String("Read") || message.arguments().size() != 2)
      return false;
    const QString ns = message.arguments().at(0).toString();
    const QString key = message.arguments().at(1).toString();
    std::optional<QVariant> value;
    if (ns == QLatin1String("org.freedesktop.appearance")) {
      if (key == QLatin1String("accent-color")) value = FOptions.Accent;
      if (key == QLatin1String("color-scheme")) value = FOptions.Scheme;
    }
    // Like the real portal, Read answers a variant inside a variant.
    const QDBusMessage reply =
        value ? message.createReply(QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(*value)))))
              : message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"),
                                         QStringLiteral("Requested setting not found"));
    QTimer::singleShot(FOptions.DelayMs, [connection, reply] { QDBusConnection(connection).send(reply); });
    return true;
  }

 private:
  TOptions FOptions;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qDBusRegisterMetaType<TRgb>();
  TOptions options;
  const QStringList args = app.arguments().mid(1);
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    const QString next = i + 1 < args.size() ? args[i + 1] : QString();
    if (a == QLatin1String("--accent")) {
      const QStringList rgb = next.split(',');
      if (rgb.size() != 3) return 2;
      options.Accent = QVariant::fromValue(TRgb{rgb[0].toDouble(), rgb[1].toDouble(), rgb[2].toDouble()});
      ++i;
    } else if (a == QLatin1String("--accent-text")) {
      options.Accent = QVariant(QStringLiteral("blue"));
    } else if (a == QLatin1String("--scheme")) {
      options.Scheme = QVariant(next.toUInt());
      ++i;
    } else if (a == QLatin1String("--delay")) {
      options.DelayMs = next.toInt();
      ++i;
    } else if (a == QLatin1String("--no-name")) {
      options.ClaimName = false;
    } else {
      return 2;
    }
  }

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return 3;
  TFakeSettings settings(options);
  if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &settings)) return 3;
  if (options.ClaimName && !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) return 3;

  std::printf("%s\nready\n", qgetenv("DBUS_SESSION_BUS_ADDRESS").constData());
  std::fflush(stdout);

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
    char buffer[256];
    if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) app.quit();
  });
  return app.exec();
}
