// PCRE2 16-bit pattern as the engine uses it everywhere: UTF, caseless, any
// line break counts as newline, JIT-compiled where the machine allows.
// Matching runs on the QString's own UTF-16 data; nothing is copied.
#pragma once

#include <QString>
#include <QStringView>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

class TSrtRegex {
public:
  explicit TSrtRegex(QStringView pattern);
  ~TSrtRegex();
  TSrtRegex(const TSrtRegex&) = delete;
  TSrtRegex& operator=(const TSrtRegex&) = delete;

  bool isValid() const { return FCode != nullptr; }
  // Why compiling failed and where in the pattern (UTF-16 code units).
  int ErrorCode() const { return FErrorCode; }
  size_t ErrorOffset() const { return FErrorOffset; }

  // > 0 on a match, PCRE2_ERROR_NOMATCH when there is none, another negative
  // PCRE2 code when matching failed (text that is not valid UTF-16, limits).
  int Match(QStringView subject, uint32_t options = 0) const;

  // PCRE2's own description of an error code.
  static QString ErrorText(int errorCode);

private:
  pcre2_code* FCode = nullptr;
  pcre2_match_data* FMatchData = nullptr;
  bool isJit = false;
  int FErrorCode = 0;
  size_t FErrorOffset = 0;
};
