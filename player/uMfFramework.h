#pragma once
// The media framework as the player sees it: a session with its events, a
// source with its streams, a topology, a clock, a display control that hands
// out the current frame and a stream volume. TGstFramework is the real one.
#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "player/uMfTypes.h"

enum class TMajorType { Video, Audio, Other };

struct TStreamDescriptor {
  TMajorType MajorType = TMajorType::Other;
  bool isSelected = false;
};

struct TPresentationDescriptor {
  uint64_t Duration = 0;  // 100 ns
  std::vector<TStreamDescriptor> Streams;
  HRESULT SelectStream(uint32_t AIndex) {
    if (AIndex >= Streams.size()) return E_INVALIDARG;
    Streams[AIndex].isSelected = true;
    return S_OK;
  }
};

class IMFMediaSource {
 public:
  virtual ~IMFMediaSource() = default;
  virtual HRESULT CreatePresentationDescriptor(std::shared_ptr<TPresentationDescriptor>& APD) = 0;
  virtual HRESULT Shutdown() = 0;
};

// One branch per selected stream: source stream -> renderer of its kind.
struct TTopologyNode {
  uint32_t StreamIndex = 0;
  TMajorType Renderer = TMajorType::Other;
};

struct TTopology {
  std::shared_ptr<IMFMediaSource> Source;
  std::shared_ptr<TPresentationDescriptor> Presentation;
  std::vector<TTopologyNode> Nodes;
};

struct TMediaEvent {
  uint32_t Type = 0;
  HRESULT Status = S_OK;
  std::optional<uint32_t> Value;  // capabilities or topology status
  std::shared_ptr<TPresentationDescriptor> Presentation;  // new presentation
};

// What a session hands to the callback; EndGetEvent turns it into the event.
struct TAsyncResult {
  HRESULT Status = S_OK;
  std::shared_ptr<TMediaEvent> Event;
};

class IMFAsyncCallback {
 public:
  virtual ~IMFAsyncCallback() = default;
  virtual HRESULT Invoke(const TAsyncResult& AResult) = 0;
};

class IMFPresentationClock {
 public:
  virtual ~IMFPresentationClock() = default;
  virtual HRESULT GetTime(uint64_t& ATime) = 0;  // 100 ns
  virtual HRESULT Start(uint64_t AStartOffset) = 0;
};

class IMFVideoDisplayControl {
 public:
  virtual ~IMFVideoDisplayControl() = default;
  virtual HRESULT SetVideoWindow(void* AWindow) = 0;
  // Copies the frame on screen into ABitmap (RGB32); fails while there is none.
  // With ADisplaySize set, a frame at least twice as large may come reduced to cover it.
  virtual HRESULT GetCurrentImage(QImage& ABitmap, QSize ADisplaySize) = 0;
  virtual HRESULT RepaintVideo() = 0;
};

class IMFAudioStreamVolume {
 public:
  virtual ~IMFAudioStreamVolume() = default;
  virtual HRESULT GetChannelCount(uint32_t& ACount) = 0;
  virtual HRESULT SetChannelVolume(uint32_t AIndex, float ALevel) = 0;
  virtual HRESULT GetChannelVolume(uint32_t AIndex, float& ALevel) = 0;
  virtual HRESULT GetAllVolumes(std::vector<float>& ALevels) = 0;
};

class IMFMediaSession {
 public:
  virtual ~IMFMediaSession() = default;
  // Asks for the next event: the session calls ACallback->Invoke once, on a
  // thread of its own, when one is there.
  virtual HRESULT BeginGetEvent(IMFAsyncCallback* ACallback) = 0;
  virtual HRESULT EndGetEvent(const TAsyncResult& AResult, std::shared_ptr<TMediaEvent>& AEvent) = 0;
  virtual HRESULT SetTopology(const std::shared_ptr<TTopology>& ATopology) = 0;
  virtual HRESULT ClearTopologies() = 0;
  virtual HRESULT GetSessionCapabilities(uint32_t& ACaps) = 0;
  virtual HRESULT GetClock(std::shared_ptr<IMFPresentationClock>& AClock) = 0;
  // No position: resume where playback stands; a position: play from there.
  virtual HRESULT Start(std::optional<uint64_t> APosition) = 0;
  virtual HRESULT Pause() = 0;
  virtual HRESULT Stop() = 0;
  virtual HRESULT Close() = 0;  // completes with MESessionClosed
  virtual HRESULT Shutdown() = 0;  // no event is delivered after it returns
  virtual HRESULT GetVideoDisplay(std::shared_ptr<IMFVideoDisplayControl>& ADisplay) = 0;
  virtual HRESULT GetStreamVolume(std::shared_ptr<IMFAudioStreamVolume>& AVolume) = 0;
};

class IMFMediaFramework {
 public:
  virtual ~IMFMediaFramework() = default;
  virtual HRESULT MFStartup() = 0;
  virtual HRESULT MFShutdown() = 0;
  virtual HRESULT MFCreateMediaSession(std::shared_ptr<IMFMediaSession>& ASession) = 0;
  virtual HRESULT CreateObjectFromURL(const QString& AURL, std::shared_ptr<IMFMediaSource>& ASource) = 0;
};
