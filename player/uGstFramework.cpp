#include "player/uGstFramework.h"

#include "player/uFrameReduce.h"

#include <gst/app/gstappsink.h>
#include <gst/audio/streamvolume.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <QFileInfo>
#include <QUrl>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace {

constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr unsigned PlayFlagVideo = 0x1, PlayFlagAudio = 0x2, PlayFlagSoftVolume = 0x10;
constexpr GstClockTime PrerollTimeout = 10 * GST_SECOND;

// GStreamer hands our objects to its streaming threads through its own
// futex-based locks, which thread checkers cannot see. Every callback from
// GStreamer, and every setup before one can come, meets at this lock, which
// makes that hand-over visible; it is never held for more than an instant.
std::mutex GStreamingEntry;
void MeetStreamingThreads() { std::lock_guard lock(GStreamingEntry); }

// The newest frame the appsink has seen, kept as a reference to the decoder's
// own buffer: nothing is converted until someone asks for a picture.
class TFrameStore {
 public:
  ~TFrameStore() { Clear(); }
  void Put(GstSample* ASample) {
    std::lock_guard lock(FLock);
    if (FSample) gst_sample_unref(FSample);
    FSample = ASample;
    ++FGeneration;
  }
  void Clear() { Put(nullptr); }
  GstSample* Take(uint64_t& AGeneration) {
    std::lock_guard lock(FLock);
    AGeneration = FGeneration;
    return FSample ? gst_sample_ref(FSample) : nullptr;
  }

 private:
  std::mutex FLock;
  GstSample* FSample = nullptr;
  uint64_t FGeneration = 0;
};

// Converts decoder frames into RGB32 QImages, writing straight into the
// image's pixels; the converter is kept while the format stays the same.
class TFrameConverter {
 public:
  ~TFrameConverter() {
    if (FConverter) gst_video_converter_free(FConverter);
  }
  HRESULT Convert(GstSample* ASample, QImage& ABitmap, QSize ADisplaySize) {
    GstVideoInfo src;
    GstCaps* caps = gst_sample_get_caps(ASample);
    GstBuffer* buffer = gst_sample_get_buffer(ASample);
    if (!caps || !buffer || !gst_video_info_from_caps(&src, caps)) return E_FAIL;
    const int w = GST_VIDEO_INFO_WIDTH(&src), h = GST_VIDEO_INFO_HEIGHT(&src);
    const int factor = ReductionFactor(QSize(w, h), ADisplaySize);
    if (factor > 1) {
      GstVideoFrame frame;
      if (!gst_video_frame_map(&frame, &src, buffer, GST_MAP_READ)) return E_FAIL;
      const bool isReduced = FReducer.Reduce(frame, factor, ABitmap);
      gst_video_frame_unmap(&frame);
      if (isReduced) return S_OK;
    }
    FitBitmap(ABitmap, QSize(w, h));
    if (ABitmap.isNull()) return E_FAIL;
    uchar* bits = ABitmap.bits();  // detaches when the owner still shares the last frame
    const qsizetype bpl = ABitmap.bytesPerLine();

    if (!FConverter || !gst_video_info_is_equal(&src, &FSource) || FWidth != w || FHeight != h) {
      if (FConverter) gst_video_converter_free(FConverter);
      GstVideoInfo dst;
      gst_video_info_set_format(&dst, GST_VIDEO_FORMAT_BGRx, w, h);
      dst.fps_n = src.fps_n;
      dst.fps_d = src.fps_d;
      GstStructure* options = gst_structure_new(
          "options", GST_VIDEO_CONVERTER_OPT_DITHER_METHOD, GST_TYPE_VIDEO_DITHER_METHOD,
          GST_VIDEO_DITHER_NONE, nullptr);
      FConverter = gst_video_converter_new(&src, &dst, options);
      FSource = src;
      FWidth = w;
      FHeight = h;
      if (!FConverter) return E_FAIL;
    }
    GstVideoInfo dst;
    gst_video_info_set_format(&dst, GST_VIDEO_FORMAT_BGRx, w, h);
    dst.fps_n = src.fps_n;
    dst.fps_d = src.fps_d;
    dst.stride[0] = static_cast<gint>(bpl);
    dst.size = static_cast<gsize>(bpl) * h;
    GstBuffer* target = gst_buffer_new_wrapped_full(static_cast<GstMemoryFlags>(0), bits, dst.size, 0,
                                                    dst.size, nullptr, nullptr);
    GstVideoFrame inFrame, outFrame;
    HRESULT hr = E_FAIL;
    if (gst_video_frame_map(&inFrame, &src, buffer, GST_MAP_READ)) {
      if (gst_video_frame_map(&outFrame, &dst, target, GST_MAP_WRITE)) {
        gst_video_converter_frame(FConverter, &inFrame, &outFrame);
        gst_video_frame_unmap(&outFrame);
        hr = S_OK;
      }
      gst_video_frame_unmap(&inFrame);
    }
    gst_buffer_unref(target);
    return hr;
  }

 private:
  TFrameReducer FReducer;
  GstVideoConverter* FConverter = nullptr;
  GstVideoInfo FSource{};
  int FWidth = 0, FHeight = 0;
};

// A resolved medium: a playbin already prerolled to PAUSED, so its streams and
// duration are known and the session that plays it need not parse it again.
class TGstSource : public IMFMediaSource {
 public:
  ~TGstSource() override { Shutdown(); }

  HRESULT Resolve(const QString& AURL) {
    QFileInfo info(AURL);
    if (!info.exists() || !info.isFile()) return E_FILE_NOT_FOUND;
    FPipeline = gst_element_factory_make("playbin", nullptr);
    FAppSink = gst_element_factory_make("appsink", nullptr);
    if (!FPipeline || !FAppSink) {
      if (FAppSink) gst_object_unref(FAppSink);
      FAppSink = nullptr;
      return E_FAIL;
    }
    gst_object_ref_sink(FPipeline);
    gst_object_ref_sink(FAppSink);
    // The player reads frames itself and never waits for the sink: without
    // wait-on-eos=false the end of stream would never be posted.
    GstCaps* caps = gst_caps_from_string("video/x-raw, pixel-aspect-ratio=(fraction)1/1");
    g_object_set(FAppSink, "caps", caps, "sync", TRUE, "wait-on-eos", FALSE, "max-buffers", 1u, "drop",
                 TRUE, "enable-last-sample", FALSE, nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &TGstSource::OnPreroll;
    callbacks.new_sample = &TGstSource::OnSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(FAppSink), &callbacks, &FFrames, nullptr);
    GstPad* pad = gst_element_get_static_pad(FAppSink, "sink");
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_FLUSH, &TGstSource::OnFlush, &FFrames, nullptr);
    gst_object_unref(pad);

    const QByteArray uri = QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded();
    // Text tracks stay unselected: subtitles come from the SRT panel, never burnt into the picture.
    g_object_set(FPipeline, "uri", uri.constData(), "video-sink", FAppSink, "flags",
                 PlayFlagVideo | PlayFlagAudio | PlayFlagSoftVolume, nullptr);

    MeetStreamingThreads();
    if (gst_element_set_state(FPipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
      return Fail(MF_E_UNSUPPORTED_BYTESTREAM_TYPE);
    GstBus* bus = gst_element_get_bus(FPipeline);
    bool isPrerolled = false;
    const GstClockTime deadline = gst_util_get_timestamp() + PrerollTimeout;
    while (!isPrerolled) {
      const GstClockTime now = gst_util_get_timestamp();
      if (now >= deadline) break;
      GstMessage* msg = gst_bus_timed_pop_filtered(
          bus, deadline - now, static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
      if (!msg) break;
      if (GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ASYNC_DONE) isPrerolled = true;
      const bool isError = GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ERROR;
      gst_message_unref(msg);
      if (isError) break;
    }
    gst_object_unref(bus);

    gint nVideo = 0, nAudio = 0, nText = 0;
    g_object_get(FPipeline, "n-video", &nVideo, "n-audio", &nAudio, "n-text", &nText, nullptr);
    if (!isPrerolled && !(nVideo == 0 && nAudio == 0 && nText > 0))
      return Fail(MF_E_UNSUPPORTED_BYTESTREAM_TYPE);
    gint64 duration = 0;
    if (isPrerolled && gst_element_query_duration(FPipeline, GST_FORMAT_TIME, &duration) && duration > 0)
      FDescriptor.Duration = static_cast<uint64_t>(duration) / 100;
    // The framework's default choice: the first video and the first audio
    // stream; with neither, the first stream stays selected and cannot be shown.
    for (gint i = 0; i < nVideo; ++i) FDescriptor.Streams.push_back({TMajorType::Video, i == 0});
    for (gint i = 0; i < nAudio; ++i) FDescriptor.Streams.push_back({TMajorType::Audio, i == 0});
    for (gint i = 0; i < nText; ++i)
      FDescriptor.Streams.push_back({TMajorType::Other, i == 0 && nVideo == 0 && nAudio == 0});
    if (!isPrerolled) {
      gst_element_set_state(FPipeline, GST_STATE_NULL);
    }
    return S_OK;
  }

  HRESULT CreatePresentationDescriptor(std::shared_ptr<TPresentationDescriptor>& APD) override {
    if (!FPipeline) return MF_E_SHUTDOWN;
    APD = std::make_shared<TPresentationDescriptor>(FDescriptor);
    return S_OK;
  }

  HRESULT Shutdown() override {
    std::lock_guard lock(FLock);
    if (FPipeline) {
      gst_element_set_state(FPipeline, GST_STATE_NULL);
      gst_object_unref(FPipeline);
      FPipeline = nullptr;
    }
    if (FAppSink) {
      gst_object_unref(FAppSink);
      FAppSink = nullptr;
    }
    FFrames.Clear();
    return S_OK;
  }

  GstElement* Pipeline() const { return FPipeline; }
  TFrameStore& Frames() { return FFrames; }

 private:
  HRESULT Fail(HRESULT AResult) {
    Shutdown();
    return AResult;
  }
  static GstFlowReturn OnPreroll(GstAppSink* ASink, gpointer AStore) {
    MeetStreamingThreads();
    static_cast<TFrameStore*>(AStore)->Put(gst_app_sink_pull_preroll(ASink));
    return GST_FLOW_OK;
  }
  static GstFlowReturn OnSample(GstAppSink* ASink, gpointer AStore) {
    MeetStreamingThreads();
    static_cast<TFrameStore*>(AStore)->Put(gst_app_sink_pull_sample(ASink));
    return GST_FLOW_OK;
  }
  // After a flushing seek the frame on hand is from before the target: drop it,
  // so the next picture handed out is the one the seek produced.
  static GstPadProbeReturn OnFlush(GstPad*, GstPadProbeInfo* AInfo, gpointer AStore) {
    MeetStreamingThreads();
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(AInfo);
    if (event && GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_STOP) static_cast<TFrameStore*>(AStore)->Clear();
    return GST_PAD_PROBE_OK;
  }

  std::mutex FLock;
  GstElement* FPipeline = nullptr;
  GstElement* FAppSink = nullptr;
  TFrameStore FFrames;
  TPresentationDescriptor FDescriptor;
};

// The session's clock; it may be asked for before the topology is set, so it
// finds the pipeline through the session each time.
class TGstClock : public IMFPresentationClock {
 public:
  explicit TGstClock(std::function<GstElement*()> APipeline) : FPipeline(std::move(APipeline)) {}
  HRESULT GetTime(uint64_t& ATime) override {
    GstElement* pipeline = FPipeline();
    if (!pipeline) return MF_E_NO_CLOCK;
    gint64 pos = 0;
    const bool isOk = gst_element_query_position(pipeline, GST_FORMAT_TIME, &pos) && pos >= 0;
    gst_object_unref(pipeline);
    if (!isOk) return E_FAIL;
    ATime = static_cast<uint64_t>(pos) / 100;
    return S_OK;
  }
  // The pipeline's clock follows its state; there is nothing to start.
  HRESULT Start(uint64_t) override { return S_OK; }

 private:
  std::function<GstElement*()> FPipeline;
};

class TGstVideoDisplay : public IMFVideoDisplayControl {
 public:
  explicit TGstVideoDisplay(std::shared_ptr<TGstSource> ASource) : FSource(std::move(ASource)) {}
  HRESULT SetVideoWindow(void*) override { return S_OK; }
  HRESULT GetCurrentImage(QImage& ABitmap, QSize ADisplaySize) override {
    uint64_t generation = 0;
    GstSample* sample = FSource->Frames().Take(generation);
    if (!sample) return E_FAIL;
    std::lock_guard lock(FLock);
    HRESULT hr = S_OK;
    // Only frames not yet shown are converted; a repeated ask for the same
    // frame into the same image at the same size costs nothing.
    if (generation != FLastGeneration || ABitmap.cacheKey() != FLastKey || ABitmap.isNull() ||
        ADisplaySize != FLastDisplaySize) {
      // The owner keeps the last frame (sharing its pixels), so frames take
      // turns in a few images instead of a fresh allocation per frame.
      QImage* target = nullptr;
      for (QImage& image : FPool)
        if (!target && image.isDetached()) target = &image;
      for (QImage& image : FPool)
        if (!target && image.isNull()) target = &image;
      if (!target) target = &FPool[0];
      hr = FConverter.Convert(sample, *target, ADisplaySize);
      if (SUCCEEDED(hr)) {
        ABitmap = *target;
        FLastGeneration = generation;
        FLastDisplaySize = ADisplaySize;
        FLastKey = ABitmap.cacheKey();
      }
    }
    gst_sample_unref(sample);
    return hr;
  }
  HRESULT RepaintVideo() override { return S_OK; }

 private:
  std::shared_ptr<TGstSource> FSource;
  std::mutex FLock;
  TFrameConverter FConverter;
  QImage FPool[3];
  uint64_t FLastGeneration = ~0ull;
  qint64 FLastKey = 0;
  QSize FLastDisplaySize;
};

class TGstStreamVolume : public IMFAudioStreamVolume {
 public:
  explicit TGstStreamVolume(GstElement* APipeline) : FPipeline(GST_ELEMENT(gst_object_ref(APipeline))) {}
  ~TGstStreamVolume() override { gst_object_unref(FPipeline); }
  HRESULT GetChannelCount(uint32_t& ACount) override {
    ACount = 2;
    GstPad* pad = nullptr;
    g_signal_emit_by_name(FPipeline, "get-audio-pad", 0, &pad);
    if (pad) {
      if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        gint channels = 0;
        if (gst_structure_get_int(gst_caps_get_structure(caps, 0), "channels", &channels) && channels > 0)
          ACount = static_cast<uint32_t>(channels);
        gst_caps_unref(caps);
      }
      gst_object_unref(pad);
    }
    return S_OK;
  }
  // playbin has one volume for all channels.
  HRESULT SetChannelVolume(uint32_t, float ALevel) override {
    gst_stream_volume_set_volume(GST_STREAM_VOLUME(FPipeline), GST_STREAM_VOLUME_FORMAT_LINEAR, ALevel);
    return S_OK;
  }
  HRESULT GetChannelVolume(uint32_t, float& ALevel) override {
    ALevel = static_cast<float>(
        gst_stream_volume_get_volume(GST_STREAM_VOLUME(FPipeline), GST_STREAM_VOLUME_FORMAT_LINEAR));
    return S_OK;
  }
  HRESULT GetAllVolumes(std::vector<float>& ALevels) override {
    uint32_t count = 0;
    GetChannelCount(count);
    float level = 0;
    GetChannelVolume(0, level);
    ALevels.assign(count, level);
    return S_OK;
  }

 private:
  GstElement* FPipeline;
};

// One playbin; bus messages become events, delivered one per BeginGetEvent on
// a thread of the session's own.
class TGstSession : public IMFMediaSession, public std::enable_shared_from_this<TGstSession> {
 public:
  TGstSession() { FThread = std::thread([this] { Deliver(); }); }
  ~TGstSession() override { Shutdown(); }

  HRESULT BeginGetEvent(IMFAsyncCallback* ACallback) override {
    std::lock_guard lock(FLock);
    if (isShutDown) return MF_E_SHUTDOWN;
    FCallback = ACallback;
    isArmed = true;
    FCond.notify_all();
    return S_OK;
  }
  HRESULT EndGetEvent(const TAsyncResult& AResult, std::shared_ptr<TMediaEvent>& AEvent) override {
    if (FAILED(AResult.Status)) return AResult.Status;
    if (!AResult.Event) return E_POINTER;
    AEvent = AResult.Event;
    return S_OK;
  }

  HRESULT SetTopology(const std::shared_ptr<TTopology>& ATopology) override {
    if (!ATopology) return E_POINTER;
    auto source = std::dynamic_pointer_cast<TGstSource>(ATopology->Source);
    if (!source || !source->Pipeline()) return MF_E_INVALIDREQUEST;
    {
      std::lock_guard lock(FLock);
      if (isShutDown || isClosed) return MF_E_SHUTDOWN;
      if (FSource != source) {
        DetachBus();
        FSource = source;
        FPipeline = GST_ELEMENT(gst_object_ref(source->Pipeline()));
        GstBus* bus = gst_element_get_bus(FPipeline);
        while (GstMessage* old = gst_bus_pop(bus)) gst_message_unref(old);
        MeetStreamingThreads();
        gst_bus_set_sync_handler(bus, &TGstSession::OnBusMessage, this, nullptr);
        gst_object_unref(bus);
      }
      isVideo = isAudio = false;
      for (const TTopologyNode& node : ATopology->Nodes) {
        if (node.Renderer == TMajorType::Video) isVideo = true;
        if (node.Renderer == TMajorType::Audio) isAudio = true;
      }
    }
    // The source prerolled while it was resolved, so the topology is ready at once.
    Push({MESessionTopologySet, S_OK, {}, {}});
    Push({MESessionTopologyStatus, S_OK, MF_TOPOSTATUS_READY, {}});
    return S_OK;
  }
  HRESULT ClearTopologies() override { return S_OK; }
  HRESULT GetSessionCapabilities(uint32_t& ACaps) override {
    ACaps = 0x7;  // start, seek, pause
    return S_OK;
  }
  HRESULT GetClock(std::shared_ptr<IMFPresentationClock>& AClock) override {
    std::weak_ptr<TGstSession> session = weak_from_this();
    AClock = std::make_shared<TGstClock>([session]() -> GstElement* {
      auto s = session.lock();
      return s ? s->Pipeline() : nullptr;
    });
    return S_OK;
  }

  HRESULT Start(std::optional<uint64_t> APosition) override {
    GstElement* pipeline = Pipeline();
    if (!pipeline) return MF_E_INVALIDREQUEST;
    HRESULT hr = S_OK;
    if (APosition) {
      // Flushing and accurate: the frame after the seek is the frame at the target.
      if (!gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                   static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                   static_cast<gint64>(*APosition * 100)))
        hr = E_FAIL;
    }
    if (SUCCEEDED(hr) && gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
      hr = E_FAIL;
    gst_object_unref(pipeline);
    return hr;
  }
  HRESULT Pause() override { return SetState(GST_STATE_PAUSED); }
  HRESULT Stop() override { return SetState(GST_STATE_READY); }

  HRESULT Close() override {
    GstElement* pipeline = nullptr;
    {
      std::lock_guard lock(FLock);
      if (isShutDown || isClosed) return MF_E_SHUTDOWN;
      isClosed = true;
      if (FPipeline) pipeline = GST_ELEMENT(gst_object_ref(FPipeline));
    }
    if (pipeline) {
      gst_element_set_state(pipeline, GST_STATE_NULL);
      gst_object_unref(pipeline);
    }
    // Going to NULL flushes the bus, so the closing is reported from here.
    Push({MESessionClosed, S_OK, {}, {}});
    return S_OK;
  }

  HRESULT Shutdown() override {
    {
      std::lock_guard lock(FLock);
      if (isShutDown) return S_OK;
      isShutDown = true;
      FCond.notify_all();
    }
    if (FThread.joinable()) FThread.join();
    GstElement* pipeline = nullptr;
    {
      std::lock_guard lock(FLock);
      if (FPipeline) pipeline = GST_ELEMENT(gst_object_ref(FPipeline));
    }
    // Not under FLock: the streaming threads post into Push while they stop.
    if (pipeline) {
      gst_element_set_state(pipeline, GST_STATE_NULL);
      gst_object_unref(pipeline);
    }
    std::lock_guard lock(FLock);
    DetachBus();
    FEvents.clear();
    FCallback = nullptr;
    return S_OK;
  }

  HRESULT GetVideoDisplay(std::shared_ptr<IMFVideoDisplayControl>& ADisplay) override {
    std::lock_guard lock(FLock);
    if (isShutDown || !FSource || !isVideo) return E_NOINTERFACE;
    ADisplay = std::make_shared<TGstVideoDisplay>(FSource);
    return S_OK;
  }
  HRESULT GetStreamVolume(std::shared_ptr<IMFAudioStreamVolume>& AVolume) override {
    std::lock_guard lock(FLock);
    if (isShutDown || !FPipeline || !isAudio) return E_NOINTERFACE;
    AVolume = std::make_shared<TGstStreamVolume>(FPipeline);
    return S_OK;
  }

  // A new reference to the pipeline, or null once closed.
  GstElement* Pipeline() {
    std::lock_guard lock(FLock);
    if (isShutDown || isClosed || !FPipeline) return nullptr;
    return GST_ELEMENT(gst_object_ref(FPipeline));
  }
 private:
  HRESULT SetState(GstState AState) {
    GstElement* pipeline = Pipeline();
    if (!pipeline) return MF_E_INVALIDREQUEST;
    const bool isOk = gst_element_set_state(pipeline, AState) != GST_STATE_CHANGE_FAILURE;
    gst_object_unref(pipeline);
    return isOk ? S_OK : E_FAIL;
  }
  void DetachBus() {  // FLock held
    if (!FPipeline) return;
    GstBus* bus = gst_element_get_bus(FPipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(FPipeline);
    FPipeline = nullptr;
  }

  void Push(TMediaEvent AEvent) {
    std::lock_guard lock(FLock);
    if (!isShutDown) PushLocked(std::move(AEvent));
  }
  void PushLocked(TMediaEvent AEvent) {
    FEvents.push_back(std::move(AEvent));
    FCond.notify_all();
  }

  // Runs on the thread that posted the message (often a streaming thread):
  // only translates and queues.
  static GstBusSyncReply OnBusMessage(GstBus*, GstMessage* AMsg, gpointer ASelf) {
    MeetStreamingThreads();
    static_cast<TGstSession*>(ASelf)->Translate(AMsg);
    gst_message_unref(AMsg);
    return GST_BUS_DROP;
  }
  void Translate(GstMessage* AMsg) {
    std::lock_guard lock(FLock);
    if (isShutDown) return;
    switch (GST_MESSAGE_TYPE(AMsg)) {
      case GST_MESSAGE_STATE_CHANGED: {
        if (!FPipeline || GST_MESSAGE_SRC(AMsg) != GST_OBJECT(FPipeline)) break;
        GstState oldState, newState, pending;
        gst_message_parse_state_changed(AMsg, &oldState, &newState, &pending);
        // A flushing seek while playing passes through PAUSED with PLAYING
        // pending: that is no pause.
        if (newState == GST_STATE_PLAYING)
          PushLocked({MESessionStarted, S_OK, {}, {}});
        else if (oldState == GST_STATE_PLAYING && newState == GST_STATE_PAUSED && pending == GST_STATE_VOID_PENDING)
          PushLocked({MESessionPaused, S_OK, {}, {}});
        else if (oldState == GST_STATE_PAUSED && newState == GST_STATE_READY)
          PushLocked({MESessionStopped, S_OK, {}, {}});
        break;
      }
      case GST_MESSAGE_EOS:
        PushLocked({MEEndOfPresentation, S_OK, {}, {}});
        PushLocked({MESessionEnded, S_OK, {}, {}});
        break;
      case GST_MESSAGE_ERROR:
        PushLocked({MEError, E_FAIL, {}, {}});
        break;
      default:
        break;
    }
  }

  void Deliver() {
    std::unique_lock lock(FLock);
    for (;;) {
      FCond.wait(lock, [this] { return isShutDown || (isArmed && !FEvents.empty()); });
      if (isShutDown) return;
      TAsyncResult result{S_OK, std::make_shared<TMediaEvent>(std::move(FEvents.front()))};
      FEvents.pop_front();
      isArmed = false;
      IMFAsyncCallback* callback = FCallback;
      lock.unlock();
      callback->Invoke(result);
      lock.lock();
    }
  }

  std::mutex FLock;
  std::condition_variable FCond;
  std::deque<TMediaEvent> FEvents;
  IMFAsyncCallback* FCallback = nullptr;
  bool isArmed = false;
  bool isClosed = false;
  bool isShutDown = false;
  bool isVideo = false, isAudio = false;
  std::shared_ptr<TGstSource> FSource;
  GstElement* FPipeline = nullptr;
  std::thread FThread;
};

class TGstFramework : public IMFMediaFramework {
 public:
  HRESULT MFStartup() override {
    // GStreamer is started once per process and never deinitialised: it cannot
    // start again after that, and deinit hangs while any pipeline is alive.
    static const bool isUsable = [] {
      if (!gst_init_check(nullptr, nullptr, nullptr)) return false;
      auto has = [](const char* name) {
        GstElementFactory* f = gst_element_factory_find(name);
        if (f) gst_object_unref(f);
        return f != nullptr;
      };
      return has("playbin") && has("appsink") && (has("avdec_h264") || has("openh264dec")) &&
             (has("avdec_aac") || has("faad") || has("fdkaacdec"));
    }();
    return isUsable ? S_OK : E_FAIL;
  }
  HRESULT MFShutdown() override { return S_OK; }
  HRESULT MFCreateMediaSession(std::shared_ptr<IMFMediaSession>& ASession) override {
    ASession = std::make_shared<TGstSession>();
    return S_OK;
  }
  HRESULT CreateObjectFromURL(const QString& AURL, std::shared_ptr<IMFMediaSource>& ASource) override {
    auto source = std::make_shared<TGstSource>();
    HRESULT hr = source->Resolve(AURL);
    if (FAILED(hr)) return hr;
    ASource = source;
    return S_OK;
  }
};

}  // namespace

std::shared_ptr<IMFMediaFramework> GstMediaFramework() { return std::make_shared<TGstFramework>(); }
