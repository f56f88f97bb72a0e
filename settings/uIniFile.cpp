#include "settings/uIniFile.h"

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";

bool SameName(const QByteArray& a, const QByteArray& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// "[Name]" gives Name; any other line gives nothing.
std::optional<QByteArray> SectionName(const QByteArray& line) {
  const QByteArray t = line.trimmed();
  const qsizetype close = t.indexOf(']');
  if (!t.startsWith('[') || close < 0) return std::nullopt;
  return t.mid(1, close - 1).trimmed();
}

bool IsComment(const QByteArray& line) {
  const QByteArray t = line.trimmed();
  return t.startsWith(';') || t.startsWith('#');
}

// Position of the '=' of a key line, or -1 for anything else.
qsizetype KeySeparator(const QByteArray& line) {
  if (IsComment(line) || SectionName(line)) return -1;
  return line.indexOf('=');
}

}  // namespace

TIniFile::TIniFile(const QByteArray& text) {
  QByteArray body = text;
  if (body.startsWith(Bom)) {
    FHasBom = true;
    body.remove(0, Bom.size());
  }
  const qsizetype firstBreak = body.indexOf('\n');
  if (firstBreak > 0 && body.at(firstBreak - 1) == '\r') FLineBreak = "\r\n";
  if (body.isEmpty()) return;
  FLines = body.split('\n');
  if (body.endsWith('\n')) FLines.removeLast();
  for (QByteArray& line : FLines)
    if (line.endsWith('\r')) line.chop(1);
}

qsizetype TIniFile::FindKey(const QByteArray& section, const QByteArray& key) const {
  bool inSection = false;
  for (qsizetype i = 0; i < FLines.size(); ++i) {
    if (const auto name = SectionName(FLines[i])) {
      inSection = SameName(*name, section);
      continue;
    }
    if (!inSection) continue;
    const qsizetype eq = KeySeparator(FLines[i]);
    if (eq >= 0 && SameName(FLines[i].left(eq).trimmed(), key)) return i;
  }
  return -1;
}

std::optional<QByteArray> TIniFile::ReadValue(const QByteArray& section, const QByteArray& key) const {
  const qsizetype i = FindKey(section, key);
  if (i < 0) return std::nullopt;
  return FLines[i].mid(KeySeparator(FLines[i]) + 1).trimmed();
}

std::optional<qint64> TIniFile::ReadInteger(const QByteArray& section, const QByteArray& key) const {
  const auto value = ReadValue(section, key);
  if (!value) return std::nullopt;
  bool ok = false;
  const qint64 number = value->toLongLong(&ok, 10);
  if (!ok) return std::nullopt;
  return number;
}

void TIniFile::WriteValue(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
  if (const qsizetype i = FindKey(section, key); i >= 0) {
    // Keep the key as the user spelled it and the spacing after '='.
    QByteArray& line = FLines[i];
    qsizetype start = KeySeparator(line) + 1;
    while (start < line.size() && (line.at(start) == ' ' || line.at(start) == '\t')) ++start;
    line = line.left(start) + value;
    return;
  }
  const QByteArray newLine = key + '=' + value;
  // After the last non-blank line of the first matching section.
  qsizetype insertAt = -1;
  bool inSection = false;
  for (qsizetype i = 0; i < FLines.size(); ++i) {
    if (const auto name = SectionName(FLines[i])) {
      if (insertAt >= 0) break;
      inSection = SameName(*name, section);
      if (inSection) insertAt = i + 1;
      continue;
    }
    if (inSection && !FLines[i].trimmed().isEmpty()) insertAt = i + 1;
  }
  if (insertAt >= 0) {
    FLines.insert(insertAt, newLine);
    return;
  }
  FLines.append('[' + section + ']');
  FLines.append(newLine);
}

QByteArray TIniFile::Text() const {
  QByteArray text = FHasBom ? Bom : QByteArray();
  for (const QByteArray& line : FLines) text += line + FLineBreak;
  return text;
}
