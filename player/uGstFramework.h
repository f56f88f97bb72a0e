#pragma once
// The media framework on GStreamer: one playbin per session, video into an
// appsink, audio into the default sink.
#include <memory>

#include "player/uMfFramework.h"

std::shared_ptr<IMFMediaFramework> GstMediaFramework();
