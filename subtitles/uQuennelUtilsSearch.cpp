// Plain and regular-expression search over the entry texts.
#include "subtitles/uQuennelUtils.h"

#include "subtitles/uSrtRegex.h"

#include <cstdio>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Both cases of an upper-cased needle character (the same twice if it has
// no lower-case twin).
struct TCharPair {
  char16_t Upper, Lower;
  explicit TCharPair(char16_t c) : Upper(c), Lower((c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c) {}
  bool Matches(char16_t c) const { return c == Upper || c == Lower; }
};

// The first place from p on (p < last) where first matches and, if given,
// second matches just after it; last when there is none. Eight places at a
// time: two characters filter out nearly every false start.
const char16_t* FindStart(const char16_t* p, const char16_t* last, TCharPair first, const TCharPair* second) {
#ifdef __SSE2__
  auto either = [](__m128i chunk, TCharPair pair) {
    return _mm_or_si128(_mm_cmpeq_epi16(chunk, _mm_set1_epi16(short(pair.Upper))),
                        _mm_cmpeq_epi16(chunk, _mm_set1_epi16(short(pair.Lower))));
  };
  for (; last - p >= 8; p += 8) {
    __m128i hits = either(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), first);
    // p + 8 < last + 1 <= end of text: the second load stays inside.
    if (second) hits = _mm_and_si128(hits, either(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)), *second));
    if (const int mask = _mm_movemask_epi8(hits)) return p + __builtin_ctz(unsigned(mask)) / 2;
  }
#endif
  for (; p < last; ++p)
    if (first.Matches(p[0]) && (!second || second->Matches(p[1]))) return p;
  return last;
}

// Whether needle (already upper-cased) occurs in text upper-cased the same
// way; compares on the fly instead of building an upper-cased copy.
bool ContainsUpper(QStringView text, QStringView needle) {
  const qsizetype n = needle.size();
  if (n == 0 || n > text.size()) return false;
  const char16_t* const pin = needle.utf16();
  const TCharPair first(pin[0]);
  const TCharPair secondPair(n > 1 ? pin[1] : 0);
  const TCharPair* const second = n > 1 ? &secondPair : nullptr;
  // Candidate starts lie before last; a needle there ends inside the text.
  const char16_t* const last = text.utf16() + (text.size() - n + 1);
  for (const char16_t* p = text.utf16(); (p = FindStart(p, last, first, second)) < last; ++p) {
    qsizetype k = 1;
    while (k < n && AsciiUpper(p[k]) == pin[k]) ++k;
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
// \d into \D, \s into \S and so on. An error ends the search with what was
// found so far and leaves its text in message.
size_t SearchRegEx(const TSrtLists& list, const QString& text, QString& message) {
  if (text.isEmpty()) {
    message = QStringLiteral(u"RegEx に正規表現を指定する必要があります");
    return 0;
  }
  const TSrtRegex pattern(text);
  if (!pattern.isValid()) {
    message = QStringLiteral(u"オフセット %1 で正規表現にエラーがあります: %2")
                  .arg(pattern.ErrorOffset())
                  .arg(TSrtRegex::ErrorText(pattern.ErrorCode()));
    return 0;
  }
  size_t found = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const int rc = pattern.Match(list[i].SubStr);
    if (rc > 0) {
      SrtMatches[found++] = int32_t(i);
    } else if (rc != PCRE2_ERROR_NOMATCH) {
      message = TSrtRegex::ErrorText(rc);
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
  QString message;
  SrtMatches.resize(isRegEx ? SearchRegEx(list, text, message) : SearchPlain(list, text));
  // Only now: a modal message box runs the event loop, and whatever runs
  // there must see the finished result.
  if (!message.isEmpty()) ShowSrtMessage(message);
}
