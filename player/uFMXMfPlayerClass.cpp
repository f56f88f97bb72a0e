// TMfPlayer: construction, opening, the start worker, framework events and shutdown.
#include "player/uFMXMfPlayerClass.h"

#include <chrono>

#include "player/uGstFramework.h"

namespace {
constexpr unsigned CloseWaitMs = 2000;
constexpr int StateWaitMs = 5000;
constexpr int FirstFrameWaitMs = 10000;
}  // namespace

TMfPlayer::TMfPlayer(TBitmapMethod ABitmapMethod, TStatusIMethod AMaxMethod, TStatusPMethod APosMethod)
    : TMfPlayer(GstMediaFramework(), std::move(ABitmapMethod), std::move(AMaxMethod), std::move(APosMethod)) {}

TMfPlayer::TMfPlayer(std::shared_ptr<IMFMediaFramework> AFramework, TBitmapMethod ABitmapMethod,
                     TStatusIMethod AMaxMethod, TStatusPMethod APosMethod)
    : FFramework(std::move(AFramework)) {
  if (!FFramework || FAILED(FFramework->MFStartup())) throw ESilentAbort();
  ClearPlayer();
  MakeCloseEvent();
  isPresentationEnded = false;
  FMaxMethod = std::move(AMaxMethod);
  FPosMethod = std::move(APosMethod);
  isStatusTimer = false;
  FStatusTimer = std::make_unique<TUniThreadedTimer>();
  FStatusTimer->SetPeriod(100);
  FStatusTimer->SetOnTimerEvent([this](TUniThreadedTimer*) { StatusTick(); });
  FBitmap = QImage();
  FBitmapMethod = std::move(ABitmapMethod);
  isBitmapTimer = false;
  FBitmapTimer = std::make_unique<TUniThreadedTimer>();
  FBitmapTimer->SetPeriod(30);
  FBitmapTimer->SetOnTimerEvent([this](TUniThreadedTimer*) { BitmapTick(); });
  m_iTimerInterval = 100;
  CanMfPosThread = true;
}

TMfPlayer::~TMfPlayer() {
  ClearPlayer();
  FFramework->MFShutdown();
}

QString TMfPlayer::FileName() const { return FFileName; }
void TMfPlayer::SetFileName(const QString& AValue) { FFileName = AValue; }
bool TMfPlayer::HasTimers() const { return FStatusTimer || FBitmapTimer; }

void TMfPlayer::ResetController() {
  mfpControl.Request = TRequest::reqNone;
  mfpControl.State = TPlayerState::Closed;
  mfpControl.fRate = 1.0f;
  mfpControl.fMaxRateSupported = 1.0f;
  mfpControl.fMinRateSupported = 1.0f;
  mfpControl.bCanThinPb = false;
  mfpControl.bCanScrub = false;
  mfpControl.StartPosition = 0;
  mfpControl.uiDuration = 0;
  mfpControl.uiResumingPlayTime = 0;
  mfpControl.Volume = 1.0f;
}

HRESULT TMfPlayer::ClearPlayer() {
  try {
    // Workers and timer ticks go first: none of them may outlive what they use.
    StopWorkers();
    if (FStatusTimer) FStatusTimer->SetEnabled(false);
    if (FBitmapTimer) FBitmapTimer->SetEnabled(false);
    ResetController();
    m_bPending = false;
    m_dCaps = 1;
    FFileName.clear();
    stRedrawStatus = TRedrawStatus::rdStarted;
    if (m_pSession) {
      m_pSession->Close();
      m_pSession->Shutdown();  // no event arrives after this
      m_pSession->ClearTopologies();
    }
    {
      std::lock_guard lock(FDisplayLock);
      m_pVideoDisplay.reset();
    }
    m_pSession.reset();
    m_pSource.reset();
    m_pClock.reset();
    FStatusTimer.reset();
    FBitmapTimer.reset();
    return S_OK;
  } catch (...) {
    return E_FAIL;
  }
}

void TMfPlayer::MakeCloseEvent() { FhCloseEvent = std::make_unique<TAutoResetEvent>(); }

HRESULT TMfPlayer::NewSession() {
  HRESULT hr = EndSession();
  if (FAILED(hr)) return hr;
  if (mfpControl.State != TPlayerState::Closed) return E_UNEXPECTED;
  hr = FFramework->MFCreateMediaSession(m_pSession);
  if (FAILED(hr)) return hr;
  mfpControl.State = TPlayerState::Ready;
  return m_pSession->BeginGetEvent(this);
}

HRESULT TMfPlayer::EndSession() {
  {
    std::lock_guard lock(FDisplayLock);
    m_pVideoDisplay.reset();
  }
  HRESULT hr = S_OK;
  if (m_pSession) {
    mfpControl.State = TPlayerState::Closing;
    hr = m_pSession->Close();
    if (SUCCEEDED(hr)) {
      if (FhCloseEvent && !FhCloseEvent->WaitFor(CloseWaitMs)) m_dWaitResult = WAIT_TIMEOUT_RESULT;
    }
  }
  if (m_pSource) m_pSource->Shutdown();
  if (m_pSession) {
    // Even when Close failed: the session must stop calling back into a
    // player that is about to go away.
    m_pSession->Shutdown();
    m_pSession->ClearTopologies();
  }
  m_pSource.reset();
  m_pSession.reset();
  m_pClock.reset();
  mfpControl.State = TPlayerState::Closed;
  return hr;
}

HRESULT TMfPlayer::CreateTopology(const std::shared_ptr<TPresentationDescriptor>& APD,
                                  std::shared_ptr<TTopology>& ATopology) {
  auto topology = std::make_shared<TTopology>();
  topology->Source = m_pSource;
  topology->Presentation = APD;
  for (uint32_t i = 0; i < APD->Streams.size(); ++i) {
    const TStreamDescriptor& stream = APD->Streams[i];
    if (stream.isSelected) {
      if (stream.MajorType == TMajorType::Video)
        topology->Nodes.push_back({i, TMajorType::Video});
      else if (stream.MajorType == TMajorType::Audio)
        topology->Nodes.push_back({i, TMajorType::Audio});
      else
        return MF_E_NOT_AUDIO_OR_VIDEO;
    }
    APD->SelectStream(i);
  }
  if (topology->Nodes.empty()) return MF_E_NOT_AUDIO_OR_VIDEO;
  ATopology = std::move(topology);
  return S_OK;
}

HRESULT TMfPlayer::OpenURL(const QString& sURL) {
  StopWorkers();  // a worker of an earlier open must not see the new session
  isTopologyReady = false;
  FFileName = sURL;
  HRESULT hr = NewSession();
  std::shared_ptr<TPresentationDescriptor> pd;
  std::shared_ptr<TTopology> topology;
  if (SUCCEEDED(hr)) hr = FFramework->CreateObjectFromURL(sURL, m_pSource);
  if (SUCCEEDED(hr)) hr = m_pSource->CreatePresentationDescriptor(pd);
  if (SUCCEEDED(hr)) {
    uint32_t caps = 1;
    m_dCaps = SUCCEEDED(m_pSession->GetSessionCapabilities(caps)) ? caps : 1;
    std::shared_ptr<IMFPresentationClock> clock;
    if (SUCCEEDED(m_pSession->GetClock(clock))) m_pClock = clock;
    hr = CreateTopology(pd, topology);
  }
  if (SUCCEEDED(hr)) {
    // Known before the topology is set: its events may arrive at once.
    mfpControl.uiDuration = pd->Duration;
    hr = m_pSession->SetTopology(topology);
  }
  if (FAILED(hr)) {
    ClearPlayer();
    return hr;
  }
  mfpControl.State = TPlayerState::OpenPending;
  m_bPending = true;
  isStopping = false;
  FHandOver = std::make_unique<TUiHandOver>();
  FStartThread = std::thread([this] { StartWorker(); });
  return S_OK;
}

bool TMfPlayer::DeliverOnUi(const std::function<void()>& AWork) {
  if (isStopping || !FHandOver) return false;
  return FHandOver->Run(AWork);
}

bool TMfPlayer::WaitFor(int AMs, const std::function<bool()>& ADone, bool AisBusy) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(AMs);
  for (;;) {
    if (isStopping) return false;
    if (ADone()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    if (AisBusy)
      std::this_thread::yield();
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void TMfPlayer::StartWorker() {
  if (!WaitFor(StateWaitMs, [this] { return mfpControl.State == TPlayerState::OpenPending; })) return;
  GetVolume();
  SendPlayerRequest(TRequest::reqStart);
  // A medium without video never yields a frame: stop waiting as soon as the
  // session says what it holds.
  WaitFor(FirstFrameWaitMs, [this] { return BitmapUpdate() || (isTopologyReady && !HasVideo()); });
  if (isStopping) return;
  SendPlayerRequest(TRequest::reqPause);
  if (FMaxMethod) DeliverOnUi([this] { FMaxMethod(mfpControl.uiDuration); });
}

void TMfPlayer::StopWorkers() {
  isStopping = true;
  isPosGo = true;
  if (FHandOver) FHandOver->Cancel();
  if (FStartThread.joinable()) FStartThread.join();
  if (FPosThread.joinable()) FPosThread.join();
  CanMfPosThread = true;
}

HRESULT TMfPlayer::Invoke(const TAsyncResult& AResult) {
  std::shared_ptr<IMFMediaSession> session = m_pSession;
  if (!session) return E_FAIL;
  std::shared_ptr<TMediaEvent> event;
  HRESULT hr = session->EndGetEvent(AResult, event);
  if (FAILED(hr)) return hr;
  if (event->Type == MESessionClosed) {
    if (FhCloseEvent) FhCloseEvent->Set();
  } else {
    hr = session->BeginGetEvent(this);
    if (FAILED(hr)) return hr;
  }
  if (mfpControl.State != TPlayerState::Closing) HandleEvent(event.get());
  return hr;
}

HRESULT TMfPlayer::HandleEvent(const TMediaEvent* AEvent) {
  if (!AEvent) return E_POINTER;
  if (FAILED(AEvent->Status)) return AEvent->Status;
  HRESULT hr = S_OK;
  switch (AEvent->Type) {
    case MESessionStarted:
      hr = ProcessRequest(TRequest::reqStart);
      break;
    case MESessionPaused: {
      std::lock_guard lock(FRequestLock);
      // Pausing a paused session again may answer with another paused event:
      // nothing is re-issued once the player stands paused.
      if (mfpControl.State == TPlayerState::Paused) break;
      mfpControl.Request = TRequest::reqPause;
      hr = ProcessRequest(TRequest::reqPause);
      mfpControl.State = TPlayerState::Paused;
      break;
    }
    case MESessionStopped:
      hr = ProcessRequest(TRequest::reqStop);
      break;
    case MESessionCapabilitiesChanged:
      if (AEvent->Value) mfpControl.dwSessionCaps = *AEvent->Value;
      break;
    case MESessionTopologyStatus:
      if (AEvent->Value && *AEvent->Value == MF_TOPOSTATUS_READY) {
        hr = AttachVideoDisplay();
        isTopologyReady = true;
      }
      break;
    case MENewPresentation:
      hr = PresentationAdded(*AEvent);
      break;
    case MEEndOfPresentation:
      PresentationFinished();
      break;
    default:
      break;
  }
  return hr;
}

HRESULT TMfPlayer::PresentationAdded(const TMediaEvent& AEvent) {
  if (!AEvent.Presentation) return MF_E_INVALIDTYPE;
  std::shared_ptr<TTopology> topology;
  HRESULT hr = CreateTopology(AEvent.Presentation, topology);
  if (FAILED(hr)) return hr;
  hr = m_pSession->SetTopology(topology);
  mfpControl.State = TPlayerState::OpenPending;
  return hr;
}

HRESULT TMfPlayer::ShutDown() {
  HRESULT result = S_OK;
  try {
    StopWorkers();
    if (FStatusTimer) FStatusTimer->SetEnabled(false);
    if (FBitmapTimer) FBitmapTimer->SetEnabled(false);
    if (SUCCEEDED(Stop()))
      result = EndSession();
    else
      result = S_OK;
    if (FhCloseEvent) {
      FhCloseEvent.reset();
      result = S_OK;
    }
  } catch (...) {
  }
  return result;
}

bool TMfPlayer::MediaShutDown() { return SUCCEEDED(ShutDown()); }
