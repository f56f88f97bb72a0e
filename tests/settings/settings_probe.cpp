// Runs one settings operation in a process of its own, so a test can give it
// its own locale environment or run it as an unprivileged user.
//   settings_probe lang <isSetJA 0|1>         prints IsLangJA as 0 or 1
//   settings_probe name <executable path>     prints the settings file name
//   settings_probe save <file> <DarkMode> <FontSize>   prints "ok" or the error
#include "settings/uFMXUtils.h"
#include "settings/uSettingsFile.h"

#include <QCoreApplication>
#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  const QString command = args.value(0);
  if (command == QLatin1String("lang") && args.size() == 2) {
    isSetJA = args[1] != QLatin1String("0");
    std::printf("%d\n", IsLangJA() ? 1 : 0);
    return 0;
  }
  if (command == QLatin1String("name") && args.size() == 2) {
    std::printf("%s\n", qPrintable(SettingsFileNameFor(args[1])));
    return 0;
  }
  if (command == QLatin1String("save") && args.size() == 4) {
    DarkMode = uint8_t(args[2].toUInt());
    FontSize = args[3].toInt();
    try {
      SaveSettingsTo(args[1]);
      std::printf("ok\n");
    } catch (const std::exception& e) {
      std::printf("%s\n", e.what());
    }
    return 0;
  }
  return 2;
}
