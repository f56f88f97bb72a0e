// Plain and regular-expression search over the entry texts.
#include "subtitles/uQuennelUtils.h"

#include "subtitles/uSrtRegex.h"

#include <cstdio>

bool isRegEx = false;
std::vector<int32_t> SrtMatches;
int32_t SrtMatchIndex = 0;
std::function<void(const QString&)> SrtMessageHandler;

namespace {

void ShowSrtMessage(const QString& text) {
  if (SrtMessageHandler) {
    SrtMessageHandler(text);
  } else {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
  }
}

// Only a-z are upper-cased: full-width and accented letters stay as they are.
char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

QString AsciiUpper(QStringView text) {
  QString upper(text.size(), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(upper.data());
  for (qsizetype i = 0; i < text.size(); ++i) out[i] = AsciiUpper(text[i].unicode());
  return upper;
}

// Whether needle (already upper-cased) occurs in text upper-cased the same
// way; compares on the fly instead of building an upper-cased copy.
bool ContainsUpper(QStringView text, QStringView needle) {
  const qsizetype n = needle.size();
  if (n == 0 || n > text.size()) return false;
  const char16_t* hay = text.utf16();
  const char16_t* pin = needle.utf16();
  const char16_t first = pin[0];
  const char16_t firstLower = (first >= u'A' && first <= u'Z') ? char16_t(first + 32) : first;
  const qsizetype lastStart = text.size() - n;
  for (qsizetype i = 0; i <= lastStart; ++i) {
    if (hay[i] != first && hay[i] != firstLower) continue;
    qsizetype k = 1;
    while (k < n && AsciiUpper(hay[i + k]) == pin[k]) ++k;
    if (k == n) return true;
  }
  return false;
}

size_t SearchPlain(const TSrtLists& list, const QString& text) {
  const QString needle = AsciiUpper(text);
  size_t found = 0;
  for (size_t i = 0; i < list.size(); ++i)
    if (ContainsUpper(list[i].SubStr, needle)) SrtMatches[found++] = int32_t(i);
  return found;
}

// The pattern is compiled from the text as typed: upper-casing it would turn
// \d into \D, \s into \S and so on. Errors end the search with what was found.
size_t SearchRegEx(const TSrtLists& list, const QString& text) {
  if (text.isEmpty()) {
    ShowSrtMessage(QStringLiteral(u"RegEx に正規表現を指定する必要があります"));
    return 0;
  }
  const TSrtRegex pattern(text);
  if (!pattern.isValid()) {
    ShowSrtMessage(QStringLiteral(u"オフセット %1 で正規表現にエラーがあります: %2")
                       .arg(pattern.ErrorOffset())
                       .arg(TSrtRegex::ErrorText(pattern.ErrorCode())));
    return 0;
  }
  size_t found = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const int rc = pattern.Match(list[i].SubStr);
    if (rc > 0) {
      SrtMatches[found++] = int32_t(i);
    } else if (rc != PCRE2_ERROR_NOMATCH) {
      ShowSrtMessage(TSrtRegex::ErrorText(rc));
      break;
    }
  }
  return found;
}

}  // namespace

void SearchSrtList(const TSrtLists& list, const QString& text) {
  SrtMatchIndex = 0;
  // Room for every entry up front, cut to size once at the end.
  SrtMatches.resize(list.size());
  SrtMatches.resize(isRegEx ? SearchRegEx(list, text) : SearchPlain(list, text));
}
