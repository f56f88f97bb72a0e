// Searching the subtitles and stepping through the matches, with the real
// player showing the frame of each match.
#include "app/uFrmMain.h"
#include "app/uSrtPanel.h"
#include "controls/uFMXBtn.h"
#include "player/uFMXMfPlayerClass.h"
#include "tests/app/AppTestUtil.h"
#include "tests/common/Fixtures.h"

#include <QLineEdit>
#include <QTest>

namespace {

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    isRegEx = false;
    const QString video = FDir.AddClip(QStringLiteral("a.mp4"));
    FDir.AddFile(QStringLiteral("a.srt"), ClipSrt);
    FForm = std::make_unique<TFrmMain>();
    FForm->show();
    ASSERT_TRUE(OpenAndWait(*FForm, video));
  }
  void TearDown() override {
    FForm.reset();
    isRegEx = false;
  }

  // Waits until the player stands at ASeconds and shows its frame and line.
  void ExpectAt(int ASeconds) {
    EXPECT_TRUE(WaitForPosition(*FForm, ASeconds)) << "want " << ASeconds << " s, at " << FForm->FTime;
    EXPECT_TRUE(WaitForSecondOnScreen(*FForm, ASeconds))
        << "want " << ASeconds << " s, shows " << SecondOnScreen(*FForm);
  }

  void Type(const QString& AText) {
    FForm->EdSrt->setFocus();
    FForm->EdSrt->clear();
    QTest::keyClicks(FForm->EdSrt, AText);
    QTest::keyClick(FForm->EdSrt, Qt::Key_Return);
  }

  TClipDir FDir;
  std::unique_ptr<TFrmMain> FForm;
};

}  // namespace

TEST_F(SearchTest, EnterJumpsToTheFirstMatchAndNextBackWrap) {
  Type(QStringLiteral("apple"));
  ASSERT_EQ(SrtMatches, (std::vector<int32_t>{0, 2, 3}));
  ExpectAt(1);
  // A slow build may have played on past the entry before pausing again.
  if (SlowFactor == 1)
    EXPECT_TRUE(WaitUntil([&] { return FForm->lbSrt->text() == QStringLiteral("Hello apple\r\n"); }));
  EXPECT_TRUE(WaitUntil([&] { return !FForm->FisPlaying; }));  // a seek while paused stays paused

  const int order[] = {5, 7, 1};
  for (int second : order) {
    QTest::mouseClick(FForm->BtSrtNext, Qt::LeftButton);
    ExpectAt(second);
  }
  QTest::mouseClick(FForm->BtSrtBack, Qt::LeftButton);  // back from the first: the last
  ExpectAt(7);
  EXPECT_EQ(SrtMatchIndex, 2);
  if (SlowFactor == 1) EXPECT_EQ(FForm->lbSrt->text(), QStringLiteral("Cherry APPLE pie\r\n"));
}

TEST_F(SearchTest, OneMatchMakesBackAndNextDoNothing) {
  Type(QStringLiteral("KIWI"));
  ASSERT_EQ(SrtMatches.size(), 1u);
  ExpectAt(8);
  FForm->NextMatch();
  FForm->PrevMatch();
  Pump(300);
  EXPECT_EQ(SrtMatchIndex, 0);
  ExpectAt(8);
}

TEST_F(SearchTest, NoMatchOrEmptyTextDoesNotSeek) {
  Type(QStringLiteral("banana"));
  ExpectAt(3);
  for (const QString& text : {QStringLiteral("durian"), QString()}) {
    FForm->EdSrt->setText(text);
    QTest::mouseClick(FForm->BtSearch, Qt::LeftButton);
    EXPECT_TRUE(SrtMatches.empty());
    Pump(300);
    ExpectAt(3);
  }
}

TEST_F(SearchTest, RegExToggleChangesHowTheTextIsRead) {
  FForm->EdSrt->setText(QStringLiteral("ap+le|kiwi"));
  FForm->BtSearchExecute();
  EXPECT_TRUE(SrtMatches.empty());  // plain: no such text
  QTest::mouseClick(FForm->BtSrtRegEx, Qt::LeftButton);
  FForm->BtSearchExecute();
  EXPECT_EQ(SrtMatches, (std::vector<int32_t>{0, 2, 3, 4}));
  ExpectAt(1);
}

TEST_F(SearchTest, InvalidPatternShowsItsMessageAndDoesNotSeek) {
  Type(QStringLiteral("banana"));
  ExpectAt(3);
  QTest::mouseClick(FForm->BtSrtRegEx, Qt::LeftButton);
  TBoxCatcher boxes;
  Type(QStringLiteral("(apple"));
  ASSERT_EQ(boxes.Texts().size(), 1);
  EXPECT_TRUE(boxes.Texts().front().contains(QStringLiteral("正規表現"))) << boxes.Texts().front().toStdString();
  EXPECT_TRUE(SrtMatches.empty());
  Pump(300);
  ExpectAt(3);
}

TEST_F(SearchTest, JumpToEntryIgnoresPositionsOutsideTheList) {
  FForm->JumpToEntry(4);
  ExpectAt(8);
  FForm->JumpToEntry(5);
  FForm->JumpToEntry(-1);
  Pump(300);
  ExpectAt(8);
}
