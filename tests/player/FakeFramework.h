#pragma once
// A scripted media framework: it records every call, answers with the codes
// a test sets, and delivers the events a test pushes (plus, unless told
// otherwise, the ones a real session would send after each command).
#include <QImage>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "player/uMfFramework.h"

class TFakeSession;

struct TFakeScript {
  HRESULT ResolveResult = S_OK;
  std::vector<TStreamDescriptor> Streams{{TMajorType::Video, true}, {TMajorType::Audio, true}};
  uint64_t Duration = 100000000;  // 10 s
  HRESULT SeekResult = S_OK;
  HRESULT CloseResult = S_OK;
  bool isCloseConfirmed = true;
  bool isEventPerCommand = true;  // started / paused / stopped after each command
  bool isPausedAnsweredAgain = true;  // a paused session answers a pause with another paused event
  std::vector<float> Channels{1.0f, 1.0f};
  QRgb FrameColor = 0xff336699;
};

class TFakeSession : public IMFMediaSession {
 public:
  explicit TFakeSession(const TFakeScript& AScript);
  ~TFakeSession() override;

  HRESULT BeginGetEvent(IMFAsyncCallback* ACallback) override;
  HRESULT EndGetEvent(const TAsyncResult& AResult, std::shared_ptr<TMediaEvent>& AEvent) override;
  HRESULT SetTopology(const std::shared_ptr<TTopology>& ATopology) override;
  HRESULT ClearTopologies() override { return Record("ClearTopologies"); }
  HRESULT GetSessionCapabilities(uint32_t& ACaps) override;
  HRESULT GetClock(std::shared_ptr<IMFPresentationClock>& AClock) override;
  HRESULT Start(std::optional<uint64_t> APosition) override;
  HRESULT Pause() override;
  HRESULT Stop() override;
  HRESULT Close() override;
  HRESULT Shutdown() override;
  HRESULT GetVideoDisplay(std::shared_ptr<IMFVideoDisplayControl>& ADisplay) override;
  HRESULT GetStreamVolume(std::shared_ptr<IMFAudioStreamVolume>& AVolume) override;

  // Test side.
  void Push(TMediaEvent AEvent);
  int Count(const std::string& ACall) const;
  std::vector<std::string> Calls() const;
  int Topologies() const { return FTopologies; }
  bool IsArmed() const;
  // Waits until every pushed event has been handed to the player.
  bool Drain(int ATimeoutMs = 2000);
  std::atomic<uint64_t> Position{0};
  std::atomic<HRESULT> SeekResult{S_OK};
  std::vector<float> Channels() const;
  void SetChannels(std::vector<float> AChannels);

 private:
  HRESULT Record(const std::string& ACall);
  void Deliver();

  friend class TFakeVolume;
  TFakeScript FScript;
  std::vector<float> FChannels;
  mutable std::mutex FLock;
  std::condition_variable FCond;
  std::vector<std::string> FCalls;
  std::deque<TMediaEvent> FEvents;
  IMFAsyncCallback* FCallback = nullptr;
  bool isArmed = false;
  bool isShutDown = false;
  bool isPaused = true;
  bool isInvoking = false;
  std::atomic<int> FTopologies{0};
  std::atomic<bool> isVideo{false}, isAudio{false};
  std::thread FThread;
};

class TFakeFramework : public IMFMediaFramework {
 public:
  TFakeScript Script;
  HRESULT StartupResult = S_OK;
  std::shared_ptr<TFakeSession> Session;  // the last one created

  HRESULT MFStartup() override { return StartupResult; }
  HRESULT MFShutdown() override { return S_OK; }
  HRESULT MFCreateMediaSession(std::shared_ptr<IMFMediaSession>& ASession) override;
  HRESULT CreateObjectFromURL(const QString& AURL, std::shared_ptr<IMFMediaSource>& ASource) override;
};
