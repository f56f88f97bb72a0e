// A small in-memory INI file that keeps the text it was given: lookups match
// section and key names without regard to case, and a write changes only the
// line of that key, so comments, other keys and other sections survive a save.
#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

class TIniFile {
 public:
  explicit TIniFile(const QByteArray& text = {});

  std::optional<QByteArray> ReadValue(const QByteArray& section, const QByteArray& key) const;
  // Decimal integers only; anything else (empty, "abc", "1.5", "0x10") is no value.
  std::optional<qint64> ReadInteger(const QByteArray& section, const QByteArray& key) const;
  // Replaces the value of the first such key, or adds the key at the end of the
  // section, or adds the section at the end of the file.
  void WriteValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);

  QByteArray Text() const;

 private:
  // Index of the key's line, or -1; the first occurrence wins, as on reading.
  qsizetype FindKey(const QByteArray& section, const QByteArray& key) const;

  QList<QByteArray> FLines;   // without line breaks
  QByteArray FLineBreak = "\n";
  bool FHasBom = false;
};
