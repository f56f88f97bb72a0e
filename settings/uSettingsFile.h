// The settings file behind LoadSettings / SaveSettings, with the file given
// explicitly so that each rule can be tried on any path.
#pragma once

#include <QString>

// The executable's path with ".ini" for its extension; where that folder is
// not writable and no writable file lies there, $XDG_CONFIG_HOME/quennel/quennel.ini.
QString SettingsFileNameFor(const QString& executablePath);

void LoadSettingsFrom(const QString& fileName);
// Throws std::runtime_error naming the file and the reason.
void SaveSettingsTo(const QString& fileName);
