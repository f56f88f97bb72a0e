#include "tests/player/FakeFramework.h"

#include <algorithm>
#include <chrono>

namespace {

class TFakeSource : public IMFMediaSource {
 public:
  explicit TFakeSource(const TFakeScript& AScript) {
    FDescriptor.Duration = AScript.Duration;
    FDescriptor.Streams = AScript.Streams;
  }
  HRESULT CreatePresentationDescriptor(std::shared_ptr<TPresentationDescriptor>& APD) override {
    APD = std::make_shared<TPresentationDescriptor>(FDescriptor);
    return S_OK;
  }
  HRESULT Shutdown() override { return S_OK; }

 private:
  TPresentationDescriptor FDescriptor;
};

class TFakeClock : public IMFPresentationClock {
 public:
  explicit TFakeClock(std::atomic<uint64_t>& APosition) : FPosition(APosition) {}
  HRESULT GetTime(uint64_t& ATime) override {
    ATime = FPosition;
    return S_OK;
  }
  HRESULT Start(uint64_t) override { return S_OK; }

 private:
  std::atomic<uint64_t>& FPosition;
};

class TFakeDisplay : public IMFVideoDisplayControl {
 public:
  explicit TFakeDisplay(QRgb AColor) : FColor(AColor) {}
  HRESULT SetVideoWindow(void*) override { return S_OK; }
  HRESULT GetCurrentImage(QImage& ABitmap, QSize) override {
    ABitmap = QImage(32, 18, QImage::Format_RGB32);
    ABitmap.fill(FColor);
    return S_OK;
  }
  HRESULT RepaintVideo() override { return S_OK; }

 private:
  QRgb FColor;
};

}  // namespace

class TFakeVolume : public IMFAudioStreamVolume {
 public:
  explicit TFakeVolume(TFakeSession& ASession) : FSession(ASession) {}
  HRESULT GetChannelCount(uint32_t& ACount) override {
    std::lock_guard lock(FSession.FLock);
    ACount = static_cast<uint32_t>(FSession.FChannels.size());
    return S_OK;
  }
  HRESULT SetChannelVolume(uint32_t AIndex, float ALevel) override {
    std::lock_guard lock(FSession.FLock);
    if (AIndex >= FSession.FChannels.size()) return E_INVALIDARG;
    FSession.FChannels[AIndex] = ALevel;
    return S_OK;
  }
  HRESULT GetChannelVolume(uint32_t AIndex, float& ALevel) override {
    std::lock_guard lock(FSession.FLock);
    if (AIndex >= FSession.FChannels.size()) return E_INVALIDARG;
    ALevel = FSession.FChannels[AIndex];
    return S_OK;
  }
  HRESULT GetAllVolumes(std::vector<float>& ALevels) override {
    ALevels = FSession.Channels();
    return S_OK;
  }

 private:
  TFakeSession& FSession;
};

std::vector<float> TFakeSession::Channels() const {
  std::lock_guard lock(FLock);
  return FChannels;
}

void TFakeSession::SetChannels(std::vector<float> AChannels) {
  std::lock_guard lock(FLock);
  FChannels = std::move(AChannels);
}

TFakeSession::TFakeSession(const TFakeScript& AScript) : SeekResult(AScript.SeekResult), FScript(AScript), FChannels(AScript.Channels) {
  FThread = std::thread([this] { Deliver(); });
}

TFakeSession::~TFakeSession() { Shutdown(); }

HRESULT TFakeSession::Record(const std::string& ACall) {
  std::lock_guard lock(FLock);
  FCalls.push_back(ACall);
  return S_OK;
}

int TFakeSession::Count(const std::string& ACall) const {
  std::lock_guard lock(FLock);
  return static_cast<int>(std::count(FCalls.begin(), FCalls.end(), ACall));
}

std::vector<std::string> TFakeSession::Calls() const {
  std::lock_guard lock(FLock);
  return FCalls;
}

bool TFakeSession::IsArmed() const {
  std::lock_guard lock(FLock);
  return isArmed;
}

bool TFakeSession::Drain(int ATimeoutMs) {
  std::unique_lock lock(FLock);
  return FCond.wait_for(lock, std::chrono::milliseconds(ATimeoutMs),
                        [this] { return isShutDown || (FEvents.empty() && !isInvoking); });
}

void TFakeSession::Push(TMediaEvent AEvent) {
  std::lock_guard lock(FLock);
  if (isShutDown) return;
  FEvents.push_back(std::move(AEvent));
  FCond.notify_all();
}

HRESULT TFakeSession::BeginGetEvent(IMFAsyncCallback* ACallback) {
  std::lock_guard lock(FLock);
  FCalls.push_back("BeginGetEvent");
  if (isShutDown) return MF_E_SHUTDOWN;
  FCallback = ACallback;
  isArmed = true;
  FCond.notify_all();
  return S_OK;
}

HRESULT TFakeSession::EndGetEvent(const TAsyncResult& AResult, std::shared_ptr<TMediaEvent>& AEvent) {
  if (FAILED(AResult.Status)) return AResult.Status;
  AEvent = AResult.Event;
  return AEvent ? S_OK : E_POINTER;
}

HRESULT TFakeSession::SetTopology(const std::shared_ptr<TTopology>& ATopology) {
  Record("SetTopology");
  ++FTopologies;
  bool video = false, audio = false;
  for (const auto& node : ATopology->Nodes) {
    video = video || node.Renderer == TMajorType::Video;
    audio = audio || node.Renderer == TMajorType::Audio;
  }
  isVideo = video;
  isAudio = audio;
  Push({MESessionTopologySet, S_OK, {}, {}});
  Push({MESessionTopologyStatus, S_OK, MF_TOPOSTATUS_READY, {}});
  return S_OK;
}

HRESULT TFakeSession::GetSessionCapabilities(uint32_t& ACaps) {
  ACaps = 7;
  return S_OK;
}

HRESULT TFakeSession::GetClock(std::shared_ptr<IMFPresentationClock>& AClock) {
  AClock = std::make_shared<TFakeClock>(Position);
  return S_OK;
}

HRESULT TFakeSession::Start(std::optional<uint64_t> APosition) {
  Record(APosition ? "Start@" + std::to_string(*APosition) : "Start");
  if (APosition) {
    if (FAILED(SeekResult)) return SeekResult;
    Position = *APosition;
  }
  {
    std::lock_guard lock(FLock);
    isPaused = false;
  }
  if (FScript.isEventPerCommand) Push({MESessionStarted, S_OK, {}, {}});
  return S_OK;
}

HRESULT TFakeSession::Pause() {
  Record("Pause");
  bool wasPaused;
  {
    std::lock_guard lock(FLock);
    wasPaused = isPaused;
    isPaused = true;
  }
  if (FScript.isEventPerCommand && (!wasPaused || FScript.isPausedAnsweredAgain))
    Push({MESessionPaused, S_OK, {}, {}});
  return S_OK;
}

HRESULT TFakeSession::Stop() {
  Record("Stop");
  if (FScript.isEventPerCommand) Push({MESessionStopped, S_OK, {}, {}});
  return S_OK;
}

HRESULT TFakeSession::Close() {
  Record("Close");
  if (FAILED(FScript.CloseResult)) return FScript.CloseResult;
  if (FScript.isCloseConfirmed) Push({MESessionClosed, S_OK, {}, {}});
  return S_OK;
}

HRESULT TFakeSession::Shutdown() {
  {
    std::lock_guard lock(FLock);
    if (isShutDown) return S_OK;
    FCalls.push_back("Shutdown");
    isShutDown = true;
    FCond.notify_all();
  }
  if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) FThread.join();
  return S_OK;
}

HRESULT TFakeSession::GetVideoDisplay(std::shared_ptr<IMFVideoDisplayControl>& ADisplay) {
  if (!isVideo) return static_cast<HRESULT>(0x80004002);
  ADisplay = std::make_shared<TFakeDisplay>(FScript.FrameColor);
  return S_OK;
}

HRESULT TFakeSession::GetStreamVolume(std::shared_ptr<IMFAudioStreamVolume>& AVolume) {
  if (!isAudio) return static_cast<HRESULT>(0x80004002);
  AVolume = std::make_shared<TFakeVolume>(*this);
  return S_OK;
}

void TFakeSession::Deliver() {
  std::unique_lock lock(FLock);
  for (;;) {
    FCond.wait(lock, [this] { return isShutDown || (isArmed && !FEvents.empty()); });
    if (isShutDown) return;
    TAsyncResult result{S_OK, std::make_shared<TMediaEvent>(std::move(FEvents.front()))};
    FEvents.pop_front();
    isArmed = false;
    isInvoking = true;
    IMFAsyncCallback* callback = FCallback;
    lock.unlock();
    callback->Invoke(result);
    lock.lock();
    isInvoking = false;
    FCond.notify_all();
  }
}

HRESULT TFakeFramework::MFCreateMediaSession(std::shared_ptr<IMFMediaSession>& ASession) {
  Session = std::make_shared<TFakeSession>(Script);
  ASession = Session;
  return S_OK;
}

HRESULT TFakeFramework::CreateObjectFromURL(const QString&, std::shared_ptr<IMFMediaSource>& ASource) {
  if (FAILED(Script.ResolveResult)) return Script.ResolveResult;
  ASource = std::make_shared<TFakeSource>(Script);
  return S_OK;
}
