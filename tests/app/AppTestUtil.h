#pragma once
// Helpers for the main-window tests: waiting on the event loop, catching
// message boxes, fixture folders with SRT files, simulated input.

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QWidget;
class TFrmMain;

// Sanitizer builds run the player many times slower: every wait stretches,
// and a seek while paused may play on for a moment before it pauses again.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
inline constexpr int SlowFactor = 6;
#else
inline constexpr int SlowFactor = 1;
#endif

// Runs the event loop until APred holds or AMs (times SlowFactor) pass;
// answers APred().
bool WaitUntil(const std::function<bool()>& APred, int AMs = 5000);
// Runs the event loop for AMs.
void Pump(int AMs);

// The window writes its settings file beside the test program; this keeps
// none there before and after the run.
class TSettingsFileCleanup : public ::testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;
};
void RemoveSettingsFile();

// Answers every modal message box that opens while it lives with its
// default button, and keeps the texts.
class TBoxCatcher {
 public:
  TBoxCatcher();
  ~TBoxCatcher();
  QStringList Texts() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
};

// A folder holding a copy of a fixture clip under a name of our choice, and
// SRT files written by the test.
class TClipDir {
 public:
  TClipDir();
  // Links the fixture AFixture as AName into the folder; returns its path.
  QString AddClip(const QString& AName, const QString& AFixture = QStringLiteral("colors.mp4"));
  // Writes ABody (UTF-8) as AName; returns its path.
  QString AddFile(const QString& AName, const QByteArray& ABody);
  QString Path(const QString& AName) const { return FDir.filePath(AName); }

 private:
  QTemporaryDir FDir;
};

// Subtitles for the 10 s colour clip: entries at seconds 1, 3 (two lines),
// 5, 7 and 8, gaps between them. "apple" occurs in entries 0, 2 and 3.
extern const QByteArray ClipSrt;

// The second of the colour clip the window's image shows, or -1.
int SecondOnScreen(const TFrmMain& AForm);
// Waits until the image shows ASecond (in a slow build, or one a little after).
bool WaitForSecondOnScreen(const TFrmMain& AForm, int ASecond);
// Opens AVideo in AForm and waits for the first frame and duration.
bool OpenAndWait(TFrmMain& AForm, const QString& AVideo);
// Waits for a status report at or near ASeconds (within ASlackMs; a slow
// build may also be up to 5 s past it), then for the seek worker to finish,
// so that the next seek is not dropped.
bool WaitForPosition(TFrmMain& AForm, double ASeconds, int ASlackMs = 120);

// One wheel notch on AWidget (ADelta > 0: away from the user).
void SendWheel(QWidget* AWidget, int ADelta);
