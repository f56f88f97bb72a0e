#pragma once
// Controls that drive the player: the play/pause and skip buttons, the
// position bar and the volume bar, and the time helpers they share with the
// main window. All times are 100-ns units (10,000,000 per second).

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

#include "controls/uFMXBtn.h"

class TMfPlayer;
class QWheelEvent;

constexpr uint64_t MsToHns(uint64_t ms) { return ms * 10000; }

// The last position a seek may go to: 0.3 s before the end, or 0 for a
// medium of 0.3 s or less. Skips and the position bar share it.
uint64_t LastSeekablePosition(uint64_t ADuration);

// Wheel step of the main window's seeking, 3 s.
extern uint64_t DefaultSkipCount;

// "hh:mm:ss", hours not limited ("100:00:00"); fractions of a second dropped.
// A negative time gets one leading minus: "-01:02:05".
QString HnsToStr(int64_t t);

// Seek AAmount forward, never into the last 0.3 s of the medium.
// No player: nothing happens.
void SkipFwd(TMfPlayer* APlayer, uint64_t AAmount);
// Seek AAmount back, not before 0. No player: nothing happens.
void SkipRwd(TMfPlayer* APlayer, uint64_t AAmount);

// Shows play while paused and pause while playing; a click toggles the player.
class TFMXPlayPauseBtn : public _TFMXBtn {
  Q_OBJECT

 public:
  explicit TFMXPlayPauseBtn(QWidget* AOwner = nullptr);

  TMfPlayer* GetMfPlayer() const { return FMfPlayer; }
  void SetMfPlayer(TMfPlayer* AValue) { FMfPlayer = AValue; }  // not owned

  // Called with the playing state of every status report.
  void IconSet(bool AisPlaying);

 protected:
  void BtnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X,
                  float Y) override;

 private:
  TMfPlayer* FMfPlayer = nullptr;
};

// Skips forward by Count (3 s unless changed).
class TFMXPlayFwdBtn : public _TFMXBtn {
  Q_OBJECT

 public:
  explicit TFMXPlayFwdBtn(QWidget* AOwner = nullptr);

  TMfPlayer* GetMfPlayer() const { return FMfPlayer; }
  void SetMfPlayer(TMfPlayer* AValue) { FMfPlayer = AValue; }  // not owned
  uint64_t GetCount() const { return FCount; }
  void SetCount(uint64_t AValue) { FCount = AValue; }

 protected:
  void BtnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X,
                  float Y) override;

 private:
  TMfPlayer* FMfPlayer = nullptr;
  uint64_t FCount;
};

// Skips back by Count (1 s unless changed).
class TFMXPlayRwdBtn : public _TFMXBtn {
  Q_OBJECT

 public:
  explicit TFMXPlayRwdBtn(QWidget* AOwner = nullptr);

  TMfPlayer* GetMfPlayer() const { return FMfPlayer; }
  void SetMfPlayer(TMfPlayer* AValue) { FMfPlayer = AValue; }  // not owned
  uint64_t GetCount() const { return FCount; }
  void SetCount(uint64_t AValue) { FCount = AValue; }

 protected:
  void BtnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X,
                  float Y) override;

 private:
  TMfPlayer* FMfPlayer = nullptr;
  uint64_t FCount;
};

// The wheel is not used by the bars; an owner may take it.
using TMouseWheelEvent = std::function<void(QObject* Sender, QWheelEvent* AEvent)>;

// Shows and sets the playback position: a thin track across the middle fifth
// of the height, the played part in accent colour. A press or drag seeks.
class TFMXPosBar : public QWidget {
  Q_OBJECT

 public:
  explicit TFMXPosBar(QWidget* AOwner = nullptr);
  ~TFMXPosBar() override;

  uint64_t GetValue() const { return FValue; }
  // Stored as 0 without a player showing video, else capped 0.3 s before Max.
  void SetValue(uint64_t a);
  uint64_t GetMax() const { return FMax; }
  void SetMax(uint64_t a);  // 0 is stored as 1; resets Value to 0
  TMfPlayer* GetMfPlayer() const { return FMfPlayer; }
  void SetMfPlayer(TMfPlayer* AValue) { FMfPlayer = AValue; }  // not owned

  const TMouseWheelEvent& GetOnMouseWheel() const { return FOnMouseWheel; }
  void SetOnMouseWheel(TMouseWheelEvent AValue) { FOnMouseWheel = std::move(AValue); }

  TFMXMouseMode GetFMXMouseMode() const { return FMXMouseMode; }
  const TFMXRectShape& GetRectB() const { return FRectB; }  // track
  const TFMXRectShape& GetRectF() const { return FRectF; }  // played part

 protected:
  void paintEvent(QPaintEvent* AEvent) override;
  void resizeEvent(QResizeEvent* AEvent) override;
  void mousePressEvent(QMouseEvent* AEvent) override;
  void mouseMoveEvent(QMouseEvent* AEvent) override;
  void mouseReleaseEvent(QMouseEvent* AEvent) override;
  void enterEvent(QEnterEvent* AEvent) override;
  void leaveEvent(QEvent* AEvent) override;
  void wheelEvent(QWheelEvent* AEvent) override;

 private:
  void MouseToValue(float X);
  void UpdateBar();
  void UpdateMouseMode();

  TFMXRectShape FRectB;
  TFMXRectShape FRectF;
  uint64_t FValue = 0;
  uint64_t FMax = 100;
  TMfPlayer* FMfPlayer = nullptr;
  bool isDown = false;
  bool isHover = false;
  TFMXMouseMode FMXMouseMode = TFMXMouseMode::isNone;
  TMouseWheelEvent FOnMouseWheel;
};

// Shows and sets the volume, 0 to 1, as a wedge rising to the right that fills
// from the left. A press or drag sets the player's volume.
class TFMXVolBar : public QWidget {
  Q_OBJECT

 public:
  explicit TFMXVolBar(QWidget* AOwner = nullptr);
  ~TFMXVolBar() override;

  float GetValue() const { return FValue; }
  // Stored as 0 without a player showing video, else clamped to 0..1.
  void SetValue(float x);
  TMfPlayer* GetMfPlayer() const { return FMfPlayer; }
  void SetMfPlayer(TMfPlayer* AValue) { FMfPlayer = AValue; }  // not owned

  TFMXMouseMode GetFMXMouseMode() const { return FMXMouseMode; }
  const TFMXPathShape& GetPathB() const { return FPathB; }  // full wedge, pixel coordinates
  const TFMXPathShape& GetPathF() const { return FPathF; }  // filled part

 protected:
  void paintEvent(QPaintEvent* AEvent) override;
  void resizeEvent(QResizeEvent* AEvent) override;
  void mousePressEvent(QMouseEvent* AEvent) override;
  void mouseMoveEvent(QMouseEvent* AEvent) override;
  void mouseReleaseEvent(QMouseEvent* AEvent) override;
  void enterEvent(QEnterEvent* AEvent) override;
  void leaveEvent(QEvent* AEvent) override;

 private:
  void MouseToValue(float X);
  void UpdateBar();
  void UpdateMouseMode();

  TFMXPathShape FPathB;
  TFMXPathShape FPathF;
  float FValue = 0;
  TMfPlayer* FMfPlayer = nullptr;
  bool isDown = false;
  bool isHover = false;
  TFMXMouseMode FMXMouseMode = TFMXMouseMode::isNone;
};
