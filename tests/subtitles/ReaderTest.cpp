// The SRT reader: which lines make entries, the time conversions, real-looking
// files and what happens to files it cannot read or cannot index.
#include "SrtFiles.h"

#include <gtest/gtest.h>

#include <QDir>

#include <cstring>
#include <system_error>

using namespace Qt::StringLiterals;

namespace {

struct TReaderCase {
  const char* Name;
  QByteArray Content;
  TSrtLists Entries;
};

class ReaderRules : public testing::TestWithParam<TReaderCase> {};

TEST_P(ReaderRules, GivesTheseEntries) {
  TSrtScratch scratch;
  EXPECT_EQ(LoadSrt(scratch.Write(GetParam().Content)), GetParam().Entries);
}

const TReaderCase ReaderCases[] = {
    {"TwoLines", "1\n00:00:01,000 --> 00:00:04,000\nHello\nWorld\n\n",
     {{1000, 4000, "Hello\r\nWorld\r\n"}}},
    {"CrLfAndLoneCrAndLfInOneFile",
     "1\r\n00:00:01,000 --> 00:00:02,000\rA\nB\r\n\r2\n00:00:03,000 --> 00:00:04,000\r\nC\r\r\n",
     {{1000, 2000, "A\r\nB\r\n"}, {3000, 4000, "C\r\n"}}},
    {"ByteOrderMarkIsSkipped", "\xEF\xBB\xBF" "00:00:01,000 --> 00:00:02,000\nNo index\n\n",
     {{1000, 2000, "No index\r\n"}}},
    {"OnlyTheLeadingByteOrderMarkIsSkipped",
     "\xEF\xBB\xBF\xEF\xBB\xBF" "00:00:01,000 --> 00:00:02,000\nA\n\n00:00:03,000 --> 00:00:04,000\n\xEF\xBB\xBF" "B\n\n",
     {{3000, 4000, u"\uFEFFB\r\n"_s}}},
    {"TextStartingLikeAByteOrderMarkIsKept",  // U+FFFE, U+FEFF
     "00:00:01,000 --> 00:00:02,000\n\xEF\xBF\xBE" "AB\n\n00:00:03,000 --> 00:00:04,000\n\xEF\xBB\xBF" "CD\n\n",
     {{1000, 2000, u"\uFFFEAB\r\n"_s}, {3000, 4000, u"\uFEFFCD\r\n"_s}}},
    {"TimeLineThenEmptyLineGivesEmptyText", "1\n00:00:01,000 --> 00:00:02,000\n\n2\n",
     {{1000, 2000, ""}}},
    {"MissingBlankLineMergesTwoEntries",
     "1\n00:00:01,000 --> 00:00:02,000\nx\n2\n00:00:03,000 --> 00:00:04,000\ny\n\n",
     {{3000, 4000, "x\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\ny\r\n"}}},
    {"LastEntryWithoutBlankLineIsDropped",
     "1\n00:00:01,000 --> 00:00:02,000\nKept\n\n2\n00:00:03,000 --> 00:00:04,000\nLost\n",
     {{1000, 2000, "Kept\r\n"}}},
    {"SpacesOnlyLineIsText", "00:00:01,000 --> 00:00:02,000\nA\n   \nB\n\n",
     {{1000, 2000, "A\r\n   \r\nB\r\n"}}},
    {"IndexNumbersStrayTextAndExtraBlankLinesAreIgnored",
     "\n\n7\nstray\n\n00:00:01,000 --> 00:00:02,000\nA\n\n\n\n8\n",
     {{1000, 2000, "A\r\n"}}},
    {"FullStopBeforeMillisecondsIsNoTimeLine",
     "1\n00:00:01.000 --> 00:00:04.000\nIgnored\n\n2\n00:00:05,000 --> 00:00:06,000\nRead\n\n",
     {{5000, 6000, "Read\r\n"}}},
    {"OneDigitHoursIsATimeLineWithZeroTimes", "0:00:01,000 --> 0:00:04,000\nX\n\n",
     {{0, 0, "X\r\n"}}},
    {"StrangeTimeLineConvertsPartByPart", "12 --> 34:56:00,000\nX\n\n",
     {{43203000, 0, "X\r\n"}}},
    {"TwoBlanksTrailingBlankOrPositionIsNoTimeLine",
     "00:00:01,000  --> 00:00:02,000\nA\n\n00:00:01,000 --> 00:00:02,000 \nB\n\n"
     "00:00:01,000 --> 00:00:02,000 X1:40 X2:600 Y1:20 Y2:50\nC\n\n"
     " 00:00:01,000 --> 00:00:02,000\nD\n\n",
     {}},
    {"TimeLineInsideAnEntryIsTextAndReplacesTheTimes",
     "00:00:01,000 --> 00:00:02,000\n00:00:05,000 --> 00:00:06,000\n\n",
     {{5000, 6000, "00:00:05,000 --> 00:00:06,000\r\n"}}},
    {"EmptyFile", "", {}},
    {"NoTimeLineAtAll", "1\nHello\n\n2\nWorld\n\n", {}},
    {"NulAndTabAreText", QByteArrayLiteral("00:00:01,000 --> 00:00:02,000\na\0b\tc\n\n"),
     {{1000, 2000, QString::fromUtf16(u"a\0b\tc\r\n", 7)}}},
};

INSTANTIATE_TEST_SUITE_P(Lines, ReaderRules, testing::ValuesIn(ReaderCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// Line breaks are looked for several characters at a time and the file is
// decoded in pieces: breaks at every offset and long files in every line-end
// style must read the same.
TEST(LoadSrtFile, SameEntriesWhereverTheBreaksFall) {
  TSrtScratch scratch;
  for (const QByteArray eol : {"\r\n", "\n", "\r"}) {
    QByteArray content;
    TSrtLists expected;
    for (int i = 0; i < 6000; ++i) {
      const QByteArray text = QByteArray(i % 19, 'x') + "\xC3\xAB" + QByteArray(i % 7, ' ');  // "ë"
      content += QByteArray::number(i + 1) + eol + "00:00:01,000 --> 00:00:02,000" + eol + text + eol +
                 QByteArray(i % 3, '-') + eol + eol;
      QString subStr = QString::fromUtf8(text) + "\r\n";
      if (i % 3) subStr += QString(i % 3, u'-') + "\r\n";
      expected.push_back({1000, 2000, subStr});
    }
    ASSERT_GT(content.size(), 3 * 64 * 1024);
    EXPECT_EQ(LoadSrt(scratch.Write(content)), expected) << eol.toHex().toStdString();
  }
}

TEST(SrtTimeToMSec, ConvertsByPosition) {
  const std::pair<const char*, uint64_t> cases[] = {
      {"00:01:02,500", 62500},
      {"01:00:00,001", 3600001},
      {"00:99:99,999", 6039999},   // no range check
      {"99:99:99,999", 362439999}, // the largest possible
      {"00x01y02z500", 62500},     // separators are not looked at
      {" 1: 2: 3,  4", 3723004},   // leading spaces are skipped
      {"ab:01:02,500", 62500},     // a bad part counts as 0
      {"-1:01:02,500", 62500},     // so does a sign
      {"1 :01:02,500", 62500},     // and a trailing space
      {"  :01:02,500", 62500},     // and spaces alone
      {"0:01:02,500", 0},          // 11 characters
      {"00:01:02,5000", 0},        // 13 characters
      {"", 0},
  };
  for (const auto& [text, msec] : cases) EXPECT_EQ(SrtTimeToMSec(text), msec) << text;
}

TEST(ParseSrtTimeLine, TakesCharactersOneToTwelveAndEighteenToTwentyNine) {
  using TTimes = std::pair<uint64_t, uint64_t>;
  EXPECT_EQ(ParseSrtTimeLine("00:01:02,500 --> 00:01:04,000"), TTimes(62500, 64000));
  EXPECT_EQ(ParseSrtTimeLine("00:01:02,500 --> 00:01:04,0001"), TTimes(62500, 64000));
  EXPECT_EQ(ParseSrtTimeLine("12 --> 34:56:00,000"), TTimes(43203000, 0));
  EXPECT_EQ(ParseSrtTimeLine("00:01:02,500 --> 00:01"), TTimes(62500, 0));
  EXPECT_EQ(ParseSrtTimeLine("00:01"), TTimes(0, 0));
  EXPECT_EQ(ParseSrtTimeLine(""), TTimes(0, 0));
}

TEST(ReaderFixtures, TagsCrLfAndByteOrderMark) {
  EXPECT_EQ(LoadSrt(SrtDataPath("tags-crlf-bom.srt")),
            (TSrtLists{{1200, 3400, "<i>Where have you been?</i>\r\n"},
                       {3900, 6050, "<b>Out.</b> Walking the dog.\r\n- <font color=\"#ffff00\">All night?</font>\r\n"},
                       {62500, 64000, "{\\an8}He ran off.\r\n"}}));
}

TEST(ReaderFixtures, JapaneseWithLf) {
  EXPECT_EQ(LoadSrt(SrtDataPath("japanese-lf.srt")),
            (TSrtLists{{5000, 7500, u"おはようございます。\r\n今日はいい天気ですね。\r\n"_s},
                       {8000, 9000, u"（ドアが開く）\r\n"_s},
                       {10250, 12000, u"行ってきます！\r\n"_s}}));
}

TEST(ReaderFixtures, LoneCrLineEnds) {
  EXPECT_EQ(LoadSrt(SrtDataPath("cr-only.srt")),
            (TSrtLists{{0, 2000, u"It’s late.\r\n"_s}, {2500, 4000, "Go home.\r\nNow.\r\n"}}));
}

TEST(ReaderFixtures, InvalidUtf8BecomesReplacementCharactersAndReadingGoesOn) {
  const TSrtLists list = LoadSrt(SrtDataPath("invalid-utf8.srt"));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].SubStr, u"Caf\uFFFD cr\uFFFDme\r\n"_s);
  EXPECT_TRUE(list[1].SubStr.startsWith(u"\uFFFD\uFFFD broken "_s)) << list[1].SubStr.toStdString();
  EXPECT_TRUE(list[1].SubStr.endsWith(u"\uFFFD\r\n"_s));
  EXPECT_EQ(list[2], (TSrtList{5000, 6000, "Still read.\r\n"}));
}

TEST(ReaderFixtures, FinalEntryNeedsItsBlankLine) {
  QFile fixture(SrtDataPath("no-final-blank.srt"));
  ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
  const QByteArray content = fixture.readAll();
  TSrtScratch scratch;
  EXPECT_EQ(LoadSrt(SrtDataPath("no-final-blank.srt")), (TSrtLists{{1000, 2000, "First line.\r\n"}}));
  EXPECT_EQ(LoadSrt(scratch.Write(content + "\r\n")),
            (TSrtLists{{1000, 2000, "First line.\r\n"}, {3000, 4000, "The end.\r\n"}}));
}

TEST(LoadSrtFile, AppendsToTheList) {
  TSrtLists list{{1, 2, "kept\r\n"}};
  LoadSrtFile(list, SrtDataPath("japanese-lf.srt"));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].SubStr, "kept\r\n");
  EXPECT_EQ(list[1].Time0, 5000u);
}

// What a failed open or read says, and that the list stays as it was.
std::string LoadError(const QString& fileName, TSrtLists& list) {
  try {
    LoadSrtFile(list, fileName);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "no error";
}

TEST(LoadSrtFile, FileThatCannotBeReadRaisesTheSystemReason) {
  TSrtScratch scratch;
  const std::pair<QString, int> cases[] = {
      {scratch.Folder() + "/missing.srt", ENOENT},
      {scratch.Folder(), EISDIR},
      {scratch.Folder() + "/plain.srt/child.srt", ENOTDIR},
  };
  scratch.Write("00:00:01,000 --> 00:00:02,000\nx\n\n", "plain.srt");
  for (const auto& [fileName, error] : cases) {
    TSrtLists list{{1, 2, "kept\r\n"}};
    const std::string what = LoadError(fileName, list);
    EXPECT_NE(what.find(fileName.toStdString()), std::string::npos) << what;
    EXPECT_NE(what.find(std::strerror(error)), std::string::npos) << what;
    EXPECT_EQ(list, (TSrtLists{{1, 2, "kept\r\n"}}));
  }
  TSrtLists list;
  EXPECT_THROW(LoadSrtFile(list, scratch.Folder() + "/missing.srt"), std::system_error);
}

// count entries of one second each, starting at the given second.
QByteArray ManyEntries(int count, int firstSecond = 0) {
  QByteArray content;
  content.reserve(count * 48);
  for (int i = 0; i < count; ++i) {
    const int s = (firstSecond + i) % 65536;
    const QByteArray time = QStringLiteral("%1:%2:%3,000")
                                .arg(s / 3600, 2, 10, QChar('0'))
                                .arg(s / 60 % 60, 2, 10, QChar('0'))
                                .arg(s % 60, 2, 10, QChar('0'))
                                .toLatin1();
    content += QByteArray::number(i + 1) + "\n" + time + " --> " + time + "\nLine\n\n";
  }
  return content;
}

TEST(LoadSrtFile, RefusesFilesBeyondSixteenBitEntriesAndSeconds) {
  TSrtScratch scratch;
  const std::tuple<const char*, QByteArray, const char*> refused[] = {
      {"entries.srt", ManyEntries(65535), "65535 entries"},
      {"late.srt", "1\n00:00:01,000 --> 18:12:16,000\nToo late\n\n", "65536 seconds"},
      {"late-start.srt", "1\n99:00:00,000 --> 00:00:01,000\nToo late\n\n", "65536 seconds"},
  };
  for (const auto& [name, content, limit] : refused) {
    const QString path = scratch.Write(content, name);
    TSrtLists list;
    const std::string what = LoadError(path, list);
    EXPECT_NE(what.find(path.toStdString()), std::string::npos) << what;
    EXPECT_NE(what.find(limit), std::string::npos) << what;
    EXPECT_TRUE(list.empty());
  }
  // A list that already holds entries counts too.
  TSrtLists list{{1, 2, "kept\r\n"}};
  EXPECT_THROW(LoadSrtFile(list, scratch.Write(ManyEntries(65534), "fits-alone.srt")), std::runtime_error);
  EXPECT_EQ(list.size(), 1u);
}

TEST(LoadSrtFile, LargestFileInsideTheModelIsIndexedToItsLastSecond) {
  TSrtScratch scratch;
  const TSrtLists list = LoadSrt(scratch.Write(ManyEntries(65534, 2)));
  ASSERT_EQ(list.size(), 65534u);
  EXPECT_EQ(list.back().Time1, 65535000u);  // 18:12:15,000
  const TSrtIndex index = MakeSrtIndex(list);
  ASSERT_EQ(index.size(), 65536u);
  EXPECT_EQ(GetSrtIndex(65535 * 10000000ull + 5000000, index), 65533);
  EXPECT_EQ(GetSrtIndex(2 * 10000000ull, index), 0);
  EXPECT_EQ(GetSrtIndex(1 * 10000000ull, index), 0xFFFF);
}

}  // namespace
