#include "subtitles/uSrtRegex.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {
// pcre2_compile refuses a null pattern even of length 0, and some PCRE2
// releases a null subject too; an empty QString may have no data at all.
const char16_t EmptyText[] = u"";

PCRE2_SPTR CodeUnits(QStringView text) {
  return reinterpret_cast<PCRE2_SPTR>(text.utf16() ? text.utf16() : EmptyText);
}

bool isSurrogate(char16_t c) { return (c & 0xF800) == 0xD800; }

bool HasSurrogate(QStringView text) {
  const char16_t* p = text.utf16();
  const char16_t* const end = p + text.size();
#ifdef __SSE2__
  const __m128i mask = _mm_set1_epi16(short(0xF800));
  const __m128i surrogate = _mm_set1_epi16(short(0xD800));
  for (; end - p >= 8; p += 8) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(chunk, mask), surrogate))) return true;
  }
#endif
  for (; p < end; ++p)
    if (isSurrogate(*p)) return true;
  return false;
}
}  // namespace

TSrtRegex::TSrtRegex(QStringView pattern) {
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  if (context) pcre2_set_newline(context, PCRE2_NEWLINE_ANY);
  FCode = pcre2_compile(CodeUnits(pattern), size_t(pattern.size()), PCRE2_UTF | PCRE2_CASELESS,
                        &FErrorCode, &FErrorOffset, context);
  pcre2_compile_context_free(context);
  if (!FCode) return;
  // Without JIT (an unsupported machine) pcre2_match interprets the pattern.
  isJit = pcre2_jit_compile(FCode, PCRE2_JIT_COMPLETE) == 0;
  FMatchData = pcre2_match_data_create(1, nullptr);
  if (!FMatchData) {
    pcre2_code_free(FCode);
    FCode = nullptr;
    FErrorCode = PCRE2_ERROR_NOMEMORY;
  }
}

TSrtRegex::~TSrtRegex() {
  pcre2_match_data_free(FMatchData);
  pcre2_code_free(FCode);
}

int TSrtRegex::Match(QStringView subject, uint32_t options) const {
  // Text without surrogates is valid UTF-16: it may skip PCRE2's own check
  // and take the JIT entry, which checks nothing. Text with surrogates goes
  // through pcre2_match, which reports broken pairs as an error.
  if (!HasSurrogate(subject)) options |= PCRE2_NO_UTF_CHECK;
  const bool isFast = isJit && (options & PCRE2_NO_UTF_CHECK);
  const int rc = (isFast ? pcre2_jit_match : pcre2_match)(FCode, CodeUnits(subject), size_t(subject.size()), 0,
                                                           options, FMatchData, nullptr);
  // 0 means the match did not fit the one-pair vector: still a match.
  return rc == 0 ? 1 : rc;
}

QString TSrtRegex::ErrorText(int errorCode) {
  PCRE2_UCHAR buffer[256];
  const int length = pcre2_get_error_message(errorCode, buffer, sizeof buffer / sizeof *buffer);
  if (length < 0) return QStringLiteral("PCRE2 error %1").arg(errorCode);
  return QString(reinterpret_cast<const QChar*>(buffer), length);
}
