#pragma once
// Shared pieces of the controls tests: a player that records what the
// controls ask of it, a shown host window, and known theme colours.

#include <QEvent>
#include <QImage>
#include <QObject>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "player/uFMXMfPlayerClass.h"

// A real TMfPlayer with no medium; the operations the controls call are
// recorded instead of carried out.
class TRecordingPlayer : public TMfPlayer {
 public:
  TRecordingPlayer(bool AisVideo = true, uint64_t ADuration = 600000000, uint64_t APosition = 0)
      : TMfPlayer(nullptr, nullptr, nullptr), isVideo(AisVideo) {
    mfpControl.uiDuration = ADuration;
    mfpControl.CurrentPosition = APosition;
  }
  void StartPause() override { ++StartPauseCalls; }
  void SetNewPosition(uint64_t AVal) override { Seeks.push_back(AVal); }
  void SetVolume(float Value) override { Volumes.push_back(Value); }
  float GetVolume() override { return Volumes.empty() ? 1.0f : Volumes.back(); }
  bool HasVideo() override { return isVideo; }

  bool isVideo;
  int StartPauseCalls = 0;
  std::vector<uint64_t> Seeks;
  std::vector<float> Volumes;
};

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
 public:
  explicit TPaintCounter(QWidget* AWidget) { AWidget->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* AEvent) override {
    if (AEvent->type() == QEvent::Paint)
      ++Count;
    return false;
  }
  int Count = 0;
};

// The widget as it paints itself, on a transparent background (grab() would
// show the parent's background where the control paints nothing).
QImage Shot(QWidget* AWidget);

// Lets pending repaints happen.
void Settle();

// Distinct, easy to tell apart theme colours: every slot its own value.
void SetTestColors();

// Sends Qt's enter or leave event, as the window system would.
void SendEnter(QWidget* AWidget);
void SendLeave(QWidget* AWidget);
