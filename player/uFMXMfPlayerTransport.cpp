// TMfPlayer: the request logic, transport, seeking, volume and the status tick.
#include <algorithm>

#include "player/uFMXMfPlayerClass.h"

namespace {
constexpr int StateWaitMs = 5000;
constexpr int PositionWaitMs = 1000;
constexpr int FrameWaitMs = 5000;
constexpr int SettleMs = 30;
}  // namespace

void TMfPlayer::SendPlayerRequest(TRequest req) {
  std::lock_guard lock(FRequestLock);
  mfpControl.Request = req;
  switch (req) {
    case TRequest::reqNone: mfpControl.State = TPlayerState::Closed; break;
    case TRequest::reqStop: mfpControl.State = TPlayerState::Stopping; break;
    case TRequest::reqStart: mfpControl.State = TPlayerState::Starting; break;
    case TRequest::reqPause: mfpControl.State = TPlayerState::Pausing; break;
    case TRequest::reqSeek: mfpControl.State = TPlayerState::Seeking; break;
    case TRequest::reqClose: mfpControl.State = TPlayerState::Closing; break;
  }
  ProcessRequest(req);
}

HRESULT TMfPlayer::ProcessRequest(TRequest cmd) {
  std::lock_guard lock(FRequestLock);
  if (m_bPending && mfpControl.Request == cmd) {
    m_bPending = false;
    switch (cmd) {
      case TRequest::reqStop:
        if (SUCCEEDED(Stop())) mfpControl.State = TPlayerState::Stopped;
        break;
      case TRequest::reqStart:
        if (SUCCEEDED(Start())) mfpControl.State = TPlayerState::Started;
        break;
      case TRequest::reqPause:
        if (SUCCEEDED(Pause())) mfpControl.State = TPlayerState::Paused;
        break;
      case TRequest::reqSeek:
        SeekTo(mfpControl.StartPosition);
        break;
      case TRequest::reqNone:
      case TRequest::reqClose:
        break;
    }
    mfpControl.Request = TRequest::reqNone;
  }
  return S_OK;
}

HRESULT TMfPlayer::Start() {
  std::lock_guard lock(FRequestLock);
  if (!m_pSession) return E_UNEXPECTED;
  if (!m_bPending) {
    m_pSession->Start(std::nullopt);
    m_bPending = true;
  }
  HRESULT hr = m_pClock ? m_pClock->Start(0) : S_OK;
  mfpControl.Request = TRequest::reqNone;
  mfpControl.State = TPlayerState::Started;
  mfpControl.uiResumingPlayTime = 0;
  if (FStatusTimer) FStatusTimer->SetEnabled(true);
  if (FBitmapTimer) FBitmapTimer->SetEnabled(true);
  GetVolume();
  return hr;
}

HRESULT TMfPlayer::Pause() {
  std::lock_guard lock(FRequestLock);
  if (!m_pSession || !m_pSource) return E_UNEXPECTED;
  if (m_bPending) {
    mfpControl.Request = TRequest::reqPause;
    mfpControl.State = TPlayerState::Pausing;
    return E_FAIL;
  }
  HRESULT hr = m_pSession->Pause();
  mfpControl.Request = TRequest::reqNone;
  mfpControl.State = TPlayerState::Paused;
  m_bPending = true;
  return hr;
}

HRESULT TMfPlayer::Stop() {
  std::lock_guard lock(FRequestLock);
  if (!m_pSession) return E_FAIL;
  if (m_bPending) {
    ProcessRequest(mfpControl.Request);
    mfpControl.Request = TRequest::reqStop;
    mfpControl.State = TPlayerState::Stopping;
    return S_OK;
  }
  HRESULT hr = m_pSession->Stop();
  mfpControl.Request = TRequest::reqNone;
  mfpControl.State = TPlayerState::Stopped;
  if (FStatusTimer) FStatusTimer->SetEnabled(false);
  if (FBitmapTimer) FBitmapTimer->SetEnabled(false);
  m_bPending = true;
  return hr;
}

HRESULT TMfPlayer::SeekTo(uint64_t t) {
  std::lock_guard lock(FRequestLock);
  if (!m_pSession) return MF_E_INVALIDREQUEST;
  HRESULT hr = m_pSession->Start(t);
  if (SUCCEEDED(hr)) {
    mfpControl.StartPosition = t;
    mfpControl.Request = TRequest::reqNone;
    mfpControl.State = TPlayerState::Started;
    m_bPending = true;
  }
  return hr;
}

HRESULT TMfPlayer::SetPosition(uint64_t hnsPosition) {
  std::lock_guard lock(FRequestLock);
  if (m_bPending) {
    mfpControl.Request = TRequest::reqSeek;
    mfpControl.StartPosition = hnsPosition;
    return S_OK;
  }
  return SeekTo(hnsPosition);
}

HRESULT TMfPlayer::GetPosition(uint64_t& hnsPosition) {
  if (!m_pClock) return MF_E_NO_CLOCK;
  if (mfpControl.Request == TRequest::reqSeek) {
    hnsPosition = mfpControl.StartPosition;
    return S_OK;
  }
  return m_pClock->GetTime(hnsPosition);
}

void TMfPlayer::SetNewPosition(uint64_t AVal) { LaunchSeekWorker(AVal, false); }

void TMfPlayer::LaunchSeekWorker(uint64_t AVal, bool AisDeferred) {
  if (isStopping) return;
  bool isFree = true;
  if (!CanMfPosThread.compare_exchange_strong(isFree, false)) return;  // a seek runs: dropped
  if (FPosThread.joinable()) FPosThread.join();  // the last one has finished its work
  isPosGo = !AisDeferred;
  FPosThread = std::thread([this, AVal] { SeekWorker(AVal); });
}

void TMfPlayer::SeekWorker(uint64_t AVal) {
  // StartPause releases its worker only after its own request has made the
  // player Started, so the worker sees that state and lets playback go on.
  WaitFor(StateWaitMs, [this] { return isPosGo.load(); });
  const TPlayerState st = mfpControl.State;
  // Started, or a seek that failed (it leaves Seeking with nothing pending).
  auto isSettled = [this] {
    const TPlayerState s = mfpControl.State;
    return s == TPlayerState::Started ||
           (s == TPlayerState::Seeking && !m_bPending && mfpControl.Request == TRequest::reqNone);
  };
  // A seek that never completes must not wedge the request logic for good.
  auto giveUp = [this](TPlayerState ARestore) {
    std::lock_guard lock(FRequestLock);
    if (mfpControl.State == TPlayerState::Seeking) {
      mfpControl.State = ARestore;
      mfpControl.Request = TRequest::reqNone;
      m_bPending = true;
    }
  };
  auto seek = [&](TPlayerState ARestore) {
    mfpControl.StartPosition = AVal;
    SendPlayerRequest(TRequest::reqSeek);
    if (!WaitFor(StateWaitMs, isSettled) || mfpControl.State != TPlayerState::Started) {
      giveUp(ARestore);
      return false;
    }
    WaitFor(SettleMs, [] { return false; });
    // A seek to 0 would never see anything else.
    uint64_t pos = AVal;
    if (AVal != 0)
      WaitFor(PositionWaitMs, [this, &pos] { return SUCCEEDED(GetPosition(pos)) && pos != 0; }, true);
    // What a play right after the seek resumes from, before the next status tick.
    mfpControl.CurrentPosition = pos;
    return !isStopping;
  };

  if (!isStopping) {
    if (isPresentationEnded || st == TPlayerState::Paused) {
      isPresentationEnded = false;
      if (seek(TPlayerState::Paused)) {
        WaitFor(FrameWaitMs, [this] { return BitmapUpdate(); });
        if (!isStopping) SendPlayerRequest(TRequest::reqPause);
      }
    } else if (st == TPlayerState::Started) {
      seek(TPlayerState::Started);
    }
  }
  CanMfPosThread = true;
}

void TMfPlayer::StartPause() {
  if (isPresentationEnded || mfpControl.State == TPlayerState::Paused) {
    // From the end of the medium, play starts over.
    const uint64_t target = isPresentationEnded ? 0 : mfpControl.CurrentPosition.load();
    isPresentationEnded = false;
    LaunchSeekWorker(target, true);
    {
      std::lock_guard lock(FRequestLock);
      // Our own seek goes to the same place; the last seek target may lie far away.
      mfpControl.StartPosition = target;
      SendPlayerRequest(TRequest::reqSeek);
    }
    isPosGo = true;
  } else if (mfpControl.State == TPlayerState::Started) {
    SendPlayerRequest(TRequest::reqPause);
  }
}

void TMfPlayer::PresentationFinished() {
  Start();
  isPresentationEnded = true;
}

void TMfPlayer::StatusTick() {
  if (isStatusTimer.exchange(true)) return;
  const TPlayerState st = mfpControl.State;
  if (FPosMethod && CanMfPosThread &&
      (st == TPlayerState::Started || st == TPlayerState::Paused || st == TPlayerState::Stopped)) {
    uint64_t pos = mfpControl.CurrentPosition;
    if (SUCCEEDED(GetPosition(pos))) mfpControl.CurrentPosition = pos;
    mfpControl.uiResumingPlayTime = mfpControl.uiDuration - mfpControl.CurrentPosition;
    const bool isPlaying = !isPresentationEnded && mfpControl.State == TPlayerState::Started;
    FPosMethod(mfpControl.CurrentPosition, mfpControl.Volume, isPlaying);
  }
  isStatusTimer = false;
}

float TMfPlayer::GetVolume() {
  std::shared_ptr<IMFMediaSession> session = m_pSession;
  std::shared_ptr<IMFAudioStreamVolume> volume;
  std::vector<float> levels;
  if (!session || FAILED(session->GetStreamVolume(volume)) || !volume) {
    mfpControl.Volume = 0.0f;
    return 0.0f;
  }
  uint32_t count = 0;
  float level = 0.0f;
  volume->GetChannelCount(count);
  if (SUCCEEDED(volume->GetChannelVolume(0, level))) mfpControl.Volume = level;
  if (FAILED(volume->GetAllVolumes(levels))) {
    mfpControl.Volume = 0.0f;
  } else {
    float highest = levels.empty() ? mfpControl.Volume.load() : levels[0];
    for (float l : levels) highest = std::max(highest, l);
    mfpControl.Volume = highest;
  }
  return mfpControl.Volume;
}

void TMfPlayer::SetVolume(float Value) {
  Value = std::clamp(Value, 0.0f, 1.0f);
  std::shared_ptr<IMFMediaSession> session = m_pSession;
  std::shared_ptr<IMFAudioStreamVolume> volume;
  uint32_t count = 0;
  if (!session || FAILED(session->GetStreamVolume(volume)) || !volume || FAILED(volume->GetChannelCount(count)))
    return;
  for (uint32_t i = 0; i < count; ++i) volume->SetChannelVolume(i, Value);
  float level = 0.0f;
  if (SUCCEEDED(volume->GetChannelVolume(0, level))) mfpControl.Volume = level;
}

HRESULT TMfPlayer::GetInitialDuration(uint64_t& dur) {
  if (!m_pSource) return E_POINTER;
  dur = 0;
  std::shared_ptr<TPresentationDescriptor> pd;
  HRESULT hr = m_pSource->CreatePresentationDescriptor(pd);
  if (SUCCEEDED(hr)) {
    dur = pd->Duration;
    mfpControl.uiDuration = dur;
  }
  return hr;
}
