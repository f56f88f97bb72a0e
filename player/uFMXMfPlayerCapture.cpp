// TMfPlayer: attaching to the video output and copying frames out of it.
#include "player/uFMXMfPlayerClass.h"

std::shared_ptr<IMFVideoDisplayControl> TMfPlayer::VideoDisplay() const {
  std::lock_guard lock(FDisplayLock);
  return m_pVideoDisplay;
}

HRESULT TMfPlayer::AttachVideoDisplay() {
  std::shared_ptr<IMFVideoDisplayControl> display;
  {
    std::lock_guard lock(FDisplayLock);
    m_pVideoDisplay.reset();
  }
  std::shared_ptr<IMFMediaSession> session = m_pSession;
  if (session && SUCCEEDED(session->GetVideoDisplay(display)) && display) {
    display->SetVideoWindow(nullptr);
    std::lock_guard lock(FDisplayLock);
    m_pVideoDisplay = display;
  }
  return S_OK;
}

bool TMfPlayer::HasVideo() { return VideoDisplay() != nullptr; }

HRESULT TMfPlayer::TakeSnapShot(QImage& bit) {
  std::shared_ptr<IMFVideoDisplayControl> display = VideoDisplay();
  if (!display) return E_FAIL;
  return display->GetCurrentImage(bit, FDisplaySize);
}

void TMfPlayer::SetDisplaySize(QSize ASize) {
  if (ASize.isEmpty()) ASize = QSize();
  if (FDisplaySize.exchange(ASize) == ASize) return;
  // A paused player gets no ticks: show the frame on hand again at the new size,
  // so a window made larger is not left with a reduced picture.
  if (FBitmapMethod && mfpControl.State == TPlayerState::Paused) {
    std::lock_guard lock(FBitmapLock);
    if (SUCCEEDED(TakeSnapShot(FBitmap))) FBitmapMethod(FBitmap);
  }
}

bool TMfPlayer::BitmapUpdate() {
  {
    std::lock_guard lock(FBitmapLock);
    if (FAILED(TakeSnapShot(FBitmap))) return false;
  }
  if (FBitmapMethod) {
    // The lock is taken on the UI thread, never held while waiting for it.
    DeliverOnUi([this] {
      std::lock_guard lock(FBitmapLock);
      FBitmapMethod(FBitmap);
    });
  }
  return true;
}

void TMfPlayer::BitmapTick() {
  if (isBitmapTimer.exchange(true)) return;
  if (FBitmapMethod && mfpControl.State == TPlayerState::Started) {
    std::lock_guard lock(FBitmapLock);
    if (SUCCEEDED(TakeSnapShot(FBitmap))) FBitmapMethod(FBitmap);
  }
  isBitmapTimer = false;
}

HRESULT TMfPlayer::Repaint() {
  std::shared_ptr<IMFVideoDisplayControl> display = VideoDisplay();
  return display ? display->RepaintVideo() : S_OK;
}

void TMfPlayer::SetStatusTimerInterval(uint32_t AValue) {
  if (AValue == 0 || AValue > 1000000000u) AValue = 1;
  m_iTimerInterval = AValue;
  if (FStatusTimer) FStatusTimer->SetPeriod(AValue);
}
