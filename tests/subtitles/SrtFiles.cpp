#include "SrtFiles.h"

#include <QFile>

#include <stdexcept>

QString SrtDataPath(const QString& name) { return QStringLiteral(SRT_DATA_DIR "/") + name; }

QString TSrtScratch::Write(const QByteArray& content, const QString& name) {
  const QString path = FDir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
    throw std::runtime_error("cannot write " + path.toStdString());
  return path;
}

TSrtLists LoadSrt(const QString& fileName) {
  TSrtLists list;
  LoadSrtFile(list, fileName);
  return list;
}

bool operator==(const TSrtList& a, const TSrtList& b) {
  return a.Time0 == b.Time0 && a.Time1 == b.Time1 && a.SubStr == b.SubStr;
}

void PrintTo(const TSrtList& entry, std::ostream* os) {
  QString shown = entry.SubStr;
  shown.replace(QStringLiteral("\r"), QStringLiteral("\\r")).replace(QStringLiteral("\n"), QStringLiteral("\\n"));
  *os << "{" << entry.Time0 << ", " << entry.Time1 << ", \"" << shown.toStdString() << "\"}";
}
