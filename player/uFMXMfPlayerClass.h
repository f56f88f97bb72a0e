#pragma once
// TMfPlayer plays one medium and reports to its owner through three
// callbacks, always on the thread of the QCoreApplication: the newest frame,
// the duration (once per open) and a status every 100 ms.
#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "player/UniThreadTimer.h"
#include "player/uMfFramework.h"
#include "player/uMfTypes.h"
#include "player/uAutoResetEvent.h"
#include "player/uUiHandOver.h"

// Raised by the constructor when the media framework cannot start; the
// program's top-level handler recognises it and shows nothing.
class ESilentAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "media framework unavailable"; }
};

enum class TPlayerState : int {
  Closed = 0, Ready, OpenPending, Starting, Started, Pausing, Paused, Stopping, Stopped, Closing, Seeking
};
enum class TRequest : int { reqNone = 0, reqStop, reqStart, reqPause, reqSeek, reqClose };
enum class TRedrawStatus : int { rdStarted = 0, rdStopped };

using TBitmapMethod = std::function<void(const QImage& ABitmap)>;
using TStatusIMethod = std::function<void(uint64_t ATime)>;
using TStatusPMethod = std::function<void(uint64_t ATime, float AVolume, bool AisPlaying)>;

// Times are 100-ns units; every field is read and written from several threads.
struct TController {
  std::atomic<TRequest> Request{TRequest::reqNone};
  std::atomic<TPlayerState> State{TPlayerState::Closed};
  std::atomic<uint32_t> dwSessionCaps{0};
  std::atomic<float> fRate{1.0f};
  std::atomic<float> fMaxRateSupported{1.0f};
  std::atomic<float> fMinRateSupported{1.0f};
  std::atomic<bool> bCanThinPb{false};
  std::atomic<bool> bCanScrub{false};
  std::atomic<uint64_t> StartPosition{0};
  std::atomic<uint64_t> CurrentPosition{0};
  std::atomic<uint64_t> uiDuration{0};
  std::atomic<uint64_t> uiResumingPlayTime{0};
  std::atomic<float> Volume{1.0f};
};

class TMfPlayer : public IMFAsyncCallback {
 public:
  TMfPlayer(TBitmapMethod ABitmapMethod, TStatusIMethod AMaxMethod, TStatusPMethod APosMethod);
  // The same on another media framework (tests drive a scripted one).
  TMfPlayer(std::shared_ptr<IMFMediaFramework> AFramework, TBitmapMethod ABitmapMethod,
            TStatusIMethod AMaxMethod, TStatusPMethod APosMethod);
  virtual ~TMfPlayer();
  TMfPlayer(const TMfPlayer&) = delete;
  TMfPlayer& operator=(const TMfPlayer&) = delete;

  // Owner's operations (UI thread).
  HRESULT OpenURL(const QString& sURL);
  bool MediaShutDown();
  HRESULT ShutDown();
  virtual void StartPause();
  virtual void SetNewPosition(uint64_t AVal);
  virtual void SetVolume(float Value);
  virtual float GetVolume();
  virtual bool HasVideo();
  // The area in device pixels the owner fits the picture into (aspect ratio
  // kept): frames at least twice the fitted picture arrive reduced by a whole
  // factor, never below it. Empty (the default): full frames.
  void SetDisplaySize(QSize ASize);
  QSize DisplaySize() const { return FDisplaySize; }

  // Transport and request logic.
  HRESULT Start();
  HRESULT Pause();
  HRESULT Stop();
  void SendPlayerRequest(TRequest req);
  HRESULT SetPosition(uint64_t hnsPosition);
  HRESULT GetPosition(uint64_t& hnsPosition);
  HRESULT GetInitialDuration(uint64_t& dur);

  // Frames.
  HRESULT TakeSnapShot(QImage& bit);
  bool BitmapUpdate();
  HRESULT Repaint();

  // Framework events.
  HRESULT Invoke(const TAsyncResult& AResult) override;
  HRESULT GetParameters() { return E_NOTIMPL; }
  HRESULT HandleEvent(const TMediaEvent* AEvent);

  // Properties.
  QString FileName() const;
  void SetFileName(const QString& AValue);
  uint32_t StatusTimerInterval() const { return m_iTimerInterval; }
  void SetStatusTimerInterval(uint32_t AValue);
  float Volume() const { return mfpControl.Volume; }
  uint64_t Duration() const { return mfpControl.uiDuration; }
  uint64_t Position() const { return mfpControl.CurrentPosition; }
  TPlayerState State() const { return mfpControl.State; }
  bool IsPending() const { return m_bPending; }
  bool IsPresentationEnded() const { return isPresentationEnded; }
  // Whether the status and bitmap timers exist (a failed open removes them).
  bool HasTimers() const;

  TController mfpControl;
  std::atomic<bool> CanMfPosThread{true};

 private:
  friend class TMfStartThread;
  friend class TMfPosThread;

  HRESULT ProcessRequest(TRequest cmd);
  HRESULT SeekTo(uint64_t t);
  void PresentationFinished();
  void StatusTick();
  void BitmapTick();
  HRESULT AttachVideoDisplay();
  HRESULT PresentationAdded(const TMediaEvent& AEvent);
  HRESULT ClearPlayer();
  void MakeCloseEvent();
  HRESULT NewSession();
  HRESULT EndSession();
  void ResetController();
  HRESULT CreateTopology(const std::shared_ptr<TPresentationDescriptor>& APD,
                         std::shared_ptr<TTopology>& ATopology);
  void LaunchSeekWorker(uint64_t AVal, bool AisDeferred);
  void StopWorkers();
  void StartWorker();
  void SeekWorker(uint64_t AVal);
  bool DeliverOnUi(const std::function<void()>& AWork);
  bool WaitFor(int AMs, const std::function<bool()>& ADone, bool AisBusy = false);
  std::shared_ptr<IMFVideoDisplayControl> VideoDisplay() const;

  TRedrawStatus stRedrawStatus = TRedrawStatus::rdStarted;
  uint32_t m_dWaitResult = 0;
  std::atomic<uint32_t> m_iTimerInterval{100};
  std::atomic<bool> m_bPending{false};
  QString FFileName;
  uint32_t m_dCaps = 1;
  std::unique_ptr<TUniThreadedTimer> FStatusTimer;
  std::unique_ptr<TUniThreadedTimer> FBitmapTimer;
  std::atomic<bool> isStatusTimer{false};
  std::atomic<bool> isBitmapTimer{false};
  QImage FBitmap;
  std::mutex FBitmapLock;
  std::atomic<QSize> FDisplaySize{QSize()};
  TStatusIMethod FMaxMethod;
  TStatusPMethod FPosMethod;
  TBitmapMethod FBitmapMethod;
  std::atomic<bool> isPresentationEnded{false};
  std::unique_ptr<TAutoResetEvent> FhCloseEvent;

  std::shared_ptr<IMFMediaFramework> FFramework;
  std::shared_ptr<IMFMediaSession> m_pSession;
  std::shared_ptr<IMFMediaSource> m_pSource;
  std::shared_ptr<IMFVideoDisplayControl> m_pVideoDisplay;  // guarded by FDisplayLock
  mutable std::mutex FDisplayLock;
  std::shared_ptr<IMFPresentationClock> m_pClock;

  // One lock serialises the request logic; it is never held while a worker
  // waits for the UI thread.
  std::recursive_mutex FRequestLock;
  std::atomic<bool> isTopologyReady{false};
  std::atomic<bool> isStopping{false};
  std::unique_ptr<TUiHandOver> FHandOver;  // one per open; cancelled at shutdown
  std::thread FStartThread;
  std::thread FPosThread;
  std::atomic<bool> isPosGo{true};
};
