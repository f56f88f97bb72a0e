#include "settings/uSettingsFile.h"

#include "settings/uFMXUtils.h"
#include "settings/uIniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <stdexcept>
#include <unistd.h>

namespace {

const QByteArray Section = "System";

bool IsWritable(const QString& path) {
  return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

QString ConfigHome() {
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  const QString env = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (!env.isEmpty() && QDir::isAbsolutePath(env)) return env;
  return QDir::homePath() + QStringLiteral("/.config");
}

[[noreturn]] void Fail(const QString& fileName, const QString& reason) {
  throw std::runtime_error(
      QStringLiteral("Cannot save the settings file \"%1\": %2").arg(fileName, reason).toStdString());
}

}  // namespace

QString SettingsFileNameFor(const QString& executablePath) {
  const QFileInfo exe(executablePath);
  QString base = exe.fileName();
  const qsizetype dot = base.lastIndexOf('.');
  if (dot > 0) base.truncate(dot);
  const QString beside = exe.absolutePath() + '/' + base + QStringLiteral(".ini");
  if (IsWritable(exe.absolutePath())) return beside;
  if (QFileInfo(beside).isFile() && IsWritable(beside)) return beside;
  return ConfigHome() + QStringLiteral("/quennel/quennel.ini");
}

QString SettingsFileName() {
  return SettingsFileNameFor(QCoreApplication::applicationFilePath());
}

void LoadSettingsFrom(const QString& fileName) {
  // A missing or unreadable file reads as empty: every setting keeps its value.
  QFile file(fileName);
  const TIniFile ini(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());

  if (const auto v = ini.ReadInteger(Section, "isSetJA")) isSetJA = *v != 0;
  if (const auto v = ini.ReadInteger(Section, "DarkMode")) DarkMode = (*v == 1 || *v == 2) ? uint8_t(*v) : 0;
  if (const auto v = ini.ReadInteger(Section, "FontSize")) FontSize = int32_t(std::clamp<qint64>(*v, 0, 5));
}

void SaveSettingsTo(const QString& fileName) {
  QByteArray old;
  if (QFileInfo::exists(fileName)) {
    // Writing without the old content would throw away the user's other lines.
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly))
      Fail(fileName, QFileInfo(fileName).isDir() ? QStringLiteral("it is a folder") : file.errorString());
    old = file.readAll();
    if (file.error() != QFileDevice::NoError) Fail(fileName, file.errorString());
  }
  TIniFile ini(old);
  ini.WriteValue(Section, "DarkMode", QByteArray::number(DarkMode));
  ini.WriteValue(Section, "FontSize", QByteArray::number(FontSize));

  const QString folder = QFileInfo(fileName).absolutePath();
  if (!QDir().mkpath(folder)) Fail(fileName, QStringLiteral("the folder cannot be created"));
  // Written beside the target and renamed over it, so a failure never leaves a
  // half-written file. Only a writable file in a read-only folder is written
  // in place, as nothing else can update it.
  QSaveFile out(fileName);
  out.setDirectWriteFallback(true);
  // Unbuffered, and every byte checked: a short write (full disk, size limit)
  // in a buffered flush goes unnoticed and QSaveFile would commit the
  // truncated text.
  if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) Fail(fileName, out.errorString());
  const QByteArray text = ini.Text();
  for (qint64 done = 0; done < text.size();) {
    const qint64 n = out.write(text.constData() + done, text.size() - done);
    if (n <= 0) Fail(fileName, out.errorString());
    done += n;
  }
  if (!out.commit()) Fail(fileName, out.errorString());
}

void LoadSettings() { LoadSettingsFrom(SettingsFileName()); }
void SaveSettings() { SaveSettingsTo(SettingsFileName()); }
