#include "subtitles/uSrtRegex.h"

namespace {
// PCRE2 10.42 refuses a null pointer even with length 0; an empty QString may
// have no data at all.
const char16_t EmptyText[] = u"";

PCRE2_SPTR CodeUnits(QStringView text) {
  return reinterpret_cast<PCRE2_SPTR>(text.utf16() ? text.utf16() : EmptyText);
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
  pcre2_jit_compile(FCode, PCRE2_JIT_COMPLETE);
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
  const int rc = pcre2_match(FCode, CodeUnits(subject), size_t(subject.size()), 0, options,
                             FMatchData, nullptr);
  // 0 means the match did not fit the one-pair vector: still a match.
  return rc == 0 ? 1 : rc;
}

QString TSrtRegex::ErrorText(int errorCode) {
  PCRE2_UCHAR buffer[256];
  const int length = pcre2_get_error_message(errorCode, buffer, sizeof buffer / sizeof *buffer);
  if (length < 0) return QStringLiteral("PCRE2 error %1").arg(errorCode);
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), length);
}
