// Feeds arbitrary bytes to LoadSrtFile as a file, then walks what it built:
// the index, the lookups and a plain search. Anything the engine promises
// about its result is checked; a broken promise aborts like a crash.
#include "subtitles/uQuennelUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// One in-memory file for the whole run, opened by path on every input.
struct TMemoryFile {
  int Fd = memfd_create("fuzz.srt", 0);
  QString Path = QStringLiteral("/proc/self/fd/%1").arg(Fd);
  void Write(const uint8_t* data, size_t size) {
    Require(Fd >= 0 && ftruncate(Fd, 0) == 0);
    Require(pwrite(Fd, data, size, 0) == ssize_t(size));
  }
};

void CheckEntries(const TSrtLists& list) {
  Require(list.size() < 0xFFFF);
  for (const TSrtList& entry : list) {
    Require(entry.Time0 < 65536000 && entry.Time1 < 65536000);
    Require(entry.SubStr.isEmpty() || entry.SubStr.endsWith(QStringLiteral("\r\n")));
  }
}

void CheckIndex(const TSrtLists& list) {
  const TSrtIndex index = MakeSrtIndex(list);
  Require(index.size() <= 65536);
  for (uint16_t slot : index) Require(slot == 0xFFFF || slot < list.size());
  constexpr uint64_t Sec = 10000000;
  // The walks are linear in the index: a few places keep an input fast.
  const uint64_t step = index.size() / 8 + 1;
  for (uint64_t s = 0; s <= index.size() + 1; s += step) {
    const uint64_t time = s * Sec + Sec / 2;
    GetSrtText(GetSrtIndex(time, index), list);  // raises on a slot outside the list
    const uint64_t next = NextSrtTime(time, index);
    Require(next == time || (next > time && next % Sec == 0));
    Require(PrevSrtTime(time, index) <= time);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TMemoryFile file;
  file.Write(data, size);
  TSrtLists list;
  try {
    LoadSrtFile(list, file.Path);
  } catch (const std::exception&) {
    // Refused: beyond 16-bit entries or seconds. Nothing may be left behind.
    Require(list.empty());
    return 0;
  }
  CheckEntries(list);
  CheckIndex(list);
  isRegEx = false;
  SearchSrtList(list, list.empty() ? QStringLiteral("a") : list.front().SubStr.left(3));
  Require(SrtMatches.size() <= list.size());
  Require(list.empty() || list.front().SubStr.isEmpty() || (!SrtMatches.empty() && SrtMatches.front() == 0));
  return 0;
}
