// Plain and regular-expression search and the messages it shows.
#include "SrtFiles.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

class SrtSearch : public testing::Test {
protected:
  void SetUp() override {
    isRegEx = false;
    SrtMatches = {99};
    SrtMatchIndex = 5;
    SrtMessageHandler = [this](const QString& text) { FMessages << text; };
  }
  void TearDown() override {
    SrtMessageHandler = nullptr;
    isRegEx = false;
  }

  std::vector<int32_t> Search(const TSrtLists& list, const QString& text, bool regEx) {
    isRegEx = regEx;
    SearchSrtList(list, text);
    EXPECT_EQ(SrtMatchIndex, 0);
    return SrtMatches;
  }

  QStringList FMessages;
};

const TSrtLists Entries{
    {0, 1000, "abc at the start\r\n"},                  // 0
    {1000, 2000, "Say ABC.\r\n"},                        // 1
    {2000, 3000, u"全角のＡＢＣ\r\n"_s},                  // 2
    {3000, 4000, "Hello\r\nWorld\r\n"},                  // 3
    {4000, 5000, ""},                                    // 4
    {5000, 6000, u"Café CRÈME\r\nroom 101\r\n"_s},       // 5
    {6000, 7000, "- No.\r\n- <i>Abc</i>, 42 times!\r\n"},  // 6
};

TEST_F(SrtSearch, PlainUpperCasesOnlyAsciiLetters) {
  const std::pair<QString, std::vector<int32_t>> cases[] = {
      {"abc", {0, 1, 6}},
      {"ABC", {0, 1, 6}},
      {u"ＡＢＣ"_s, {2}},
      {u"café crème"_s, {}},  // é and è are not folded
      {u"CAFé CRÈME"_s, {5}},
      {"<I>ABC</I>", {6}},
      {"hello world", {}},  // lines do not run together
      {"WORLD", {3}},
      {"\r\n", {0, 1, 2, 3, 5, 6}},
      {"room 1011", {}},
      {"", {}},
  };
  for (const auto& [text, matches] : cases) EXPECT_EQ(Search(Entries, text, false), matches) << text.toStdString();
  EXPECT_TRUE(FMessages.isEmpty());
}

// The search looks at several characters at once; a needle must be found at
// every place in a longer text, and a near miss nowhere.
TEST_F(SrtSearch, PlainFindsTheTextAtEveryPosition) {
  const QString filler = u"é-.,xy 0123456789 ＡＢＣ abcdefghij ponmlji"_s;  // no k, q, w, z
  for (const QString needle : {u"K"_s, u"Kq"_s, u"kQw"_s, u"KQWZ-"_s, u"kqwz-ÿ!"_s, u"KQWZ-ÿ!+=KQWZ"_s}) {
    const QString inserted = needle.toLower();  // ASCII here, but for ÿ which stays
    QString nearMiss = inserted;
    nearMiss.back() = u'#';
    TSrtLists list;
    for (qsizetype at = 0; at <= filler.size(); ++at) {
      list.push_back({0, 0, QString(filler).insert(at, inserted)});
      list.push_back({0, 0, QString(filler).insert(at, nearMiss)});
    }
    std::vector<int32_t> every;
    for (int32_t i = 0; i < int32_t(list.size()); i += 2) every.push_back(i);
    EXPECT_EQ(Search(list, needle, false), every) << needle.toStdString();
  }
}

TEST_F(SrtSearch, ResultIsListPositionsInOrderAndEveryRunStartsAtTheFirst) {
  TSrtLists list(10, TSrtList{0, 0, "nothing\r\n"});
  list[3].SubStr = "the key\r\n";
  list[7].SubStr = "KEY\r\n";
  EXPECT_EQ(Search(list, "key", false), (std::vector<int32_t>{3, 7}));
  SrtMatchIndex = 1;
  EXPECT_EQ(Search(list, "key", true), (std::vector<int32_t>{3, 7}));
  EXPECT_EQ(Search({}, "key", false), (std::vector<int32_t>{}));
  EXPECT_EQ(Search({}, "key", true), (std::vector<int32_t>{}));
  EXPECT_TRUE(FMessages.isEmpty());
}

TEST_F(SrtSearch, RegExIsCompiledAsTypedAndMatchesTheStoredText) {
  const std::pair<QString, std::vector<int32_t>> cases[] = {
      {"\\d+", {5, 6}},           // not \D+ as upper-casing would make it
      {"\\bABC\\b", {0, 1, 6}},   // caseless
      {u"ａｂｃ"_s, {2}},           // caseless in Unicode too
      {u"CAFÉ"_s, {5}},           // and for accented letters
      {u"caf\\w"_s, {}},         // but \w is ASCII only
      {"^World", {}},              // ^ is the start of the whole text
      {"Hello$", {}},
      {"World$", {3}},             // $ also just before the final line break
      {"hello\\s+world", {3}},     // may match across lines
      {"o.W", {}},                 // . does not match a line break
      {"x*", {0, 1, 2, 3, 4, 5, 6}},  // an empty match finds every entry
      {"<i>(abc|xyz)</i>", {6}},
  };
  for (const auto& [text, matches] : cases) EXPECT_EQ(Search(Entries, text, true), matches) << text.toStdString();
  EXPECT_TRUE(FMessages.isEmpty()) << FMessages.join('\n').toStdString();
}

TEST_F(SrtSearch, RegExErrorsAreShownAndKeepWhatWasFound) {
  EXPECT_EQ(Search(Entries, "", true), (std::vector<int32_t>{}));
  EXPECT_EQ(Search(Entries, "(", true), (std::vector<int32_t>{}));
  EXPECT_EQ(Search({}, "a[", true), (std::vector<int32_t>{}));
  EXPECT_EQ(FMessages, (QStringList{u"RegEx に正規表現を指定する必要があります"_s,
                                    u"オフセット 1 で正規表現にエラーがあります: missing closing parenthesis"_s,
                                    u"オフセット 2 で正規表現にエラーがあります: missing terminating ] for character class"_s}));

  // Text that is not valid UTF-16 cannot be matched: the search stops there.
  FMessages.clear();
  const TSrtLists list{{0, 0, "one\r\n"}, {0, 0, u"broken \xD800 one\r\n"_s}, {0, 0, "one\r\n"}};
  EXPECT_EQ(Search(list, "one", true), (std::vector<int32_t>{0}));
  ASSERT_EQ(FMessages.size(), 1);
  EXPECT_TRUE(FMessages[0].contains("UTF-16")) << FMessages[0].toStdString();
}

TEST_F(SrtSearch, MessageIsShownOnceTheResultIsFinished) {
  std::vector<int32_t> seen{-1};
  SrtMessageHandler = [&](const QString&) { seen = SrtMatches; };
  const TSrtLists list{{0, 0, "one\r\n"}, {0, 0, u"broken \xD800 one\r\n"_s}, {0, 0, "one\r\n"}};
  Search(list, "one", true);
  EXPECT_EQ(seen, (std::vector<int32_t>{0}));
}

TEST_F(SrtSearch, PlainModeNeverShowsAMessage) {
  const TSrtLists list{{0, 0, u"broken \xD800 (\r\n"_s}};
  EXPECT_EQ(Search(list, "(", false), (std::vector<int32_t>{0}));
  EXPECT_EQ(Search(list, "", false), (std::vector<int32_t>{}));
  EXPECT_TRUE(FMessages.isEmpty());
}

TEST_F(SrtSearch, TogglingTheModeDoesNotSearchAgain) {
  EXPECT_EQ(Search(Entries, "\\d", false), (std::vector<int32_t>{}));
  isRegEx = true;
  EXPECT_TRUE(SrtMatches.empty());
  SearchSrtList(Entries, "\\d");
  EXPECT_EQ(SrtMatches, (std::vector<int32_t>{5, 6}));
}

TEST_F(SrtSearch, WithoutAHandlerTheMessageGoesToStandardError) {
  SrtMessageHandler = nullptr;
  testing::internal::CaptureStderr();
  Search(Entries, "(", true);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(u"オフセット 1 で正規表現にエラーがあります"_s.toStdString()), std::string::npos) << err;
}

}  // namespace
