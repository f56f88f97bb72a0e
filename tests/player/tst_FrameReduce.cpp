// The reduction read straight from each YUV layout it accepts gives the
// colours GStreamer's own conversion gives, block by block.
#include <gst/gst.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include "player/uFrameReduce.h"
#include "tests/common/Fixtures.h"

TEST(FrameReduce, EveryLayoutKeepsTheColoursOfItsQuadrants) {
  gst_init(nullptr, nullptr);
  constexpr int W = 96, H = 48;
  const QRgb quadrants[4] = {qRgb(200, 40, 60), qRgb(30, 120, 220), qRgb(240, 230, 20), qRgb(20, 20, 20)};
  GstVideoInfo rgb;
  gst_video_info_set_format(&rgb, GST_VIDEO_FORMAT_BGRx, W, H);
  GstBuffer* source = gst_buffer_new_allocate(nullptr, rgb.size, nullptr);
  GstVideoFrame rgbFrame;
  ASSERT_TRUE(gst_video_frame_map(&rgbFrame, &rgb, source, GST_MAP_WRITE));
  for (int y = 0; y < H; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&rgbFrame, 0)) +
                                            y * GST_VIDEO_FRAME_PLANE_STRIDE(&rgbFrame, 0));
    for (int x = 0; x < W; ++x) row[x] = quadrants[(y >= H / 2) * 2 + (x >= W / 2)];  // BGRx is 0xXXRRGGBB
  }

  for (GstVideoFormat format : {GST_VIDEO_FORMAT_I420, GST_VIDEO_FORMAT_YV12, GST_VIDEO_FORMAT_NV12,
                                GST_VIDEO_FORMAT_NV21, GST_VIDEO_FORMAT_Y42B, GST_VIDEO_FORMAT_Y444}) {
    SCOPED_TRACE(gst_video_format_to_string(format));
    GstVideoInfo yuv;
    gst_video_info_set_format(&yuv, format, W, H);
    GstBuffer* target = gst_buffer_new_allocate(nullptr, yuv.size, nullptr);
    GstVideoFrame yuvFrame;
    ASSERT_TRUE(gst_video_frame_map(&yuvFrame, &yuv, target, GST_MAP_READWRITE));
    GstVideoConverter* converter = gst_video_converter_new(&rgb, &yuv, nullptr);
    gst_video_converter_frame(converter, &rgbFrame, &yuvFrame);
    gst_video_converter_free(converter);

    TFrameReducer reducer;
    for (int factor : {2, 3, 4}) {
      SCOPED_TRACE(factor);
      QImage image;
      ASSERT_TRUE(reducer.Reduce(yuvFrame, factor, image));
      ASSERT_EQ(image.size(), QSize(W / factor, H / factor));
      for (int q = 0; q < 4; ++q) {
        const int x = (q % 2 * 2 + 1) * image.width() / 4, y = (q / 2 * 2 + 1) * image.height() / 4;
        EXPECT_TRUE(ColorsClose(image.pixel(x, y), quadrants[q], 8)) << "quadrant " << q << " " << std::hex
                                                                      << image.pixel(x, y);
      }
    }
    gst_video_frame_unmap(&yuvFrame);
    gst_buffer_unref(target);
  }
  gst_video_frame_unmap(&rgbFrame);
  gst_buffer_unref(source);
}

TEST(FrameReduce, OtherLayoutsAreLeftToTheFullConversion) {
  gst_init(nullptr, nullptr);
  GstVideoInfo info;
  gst_video_info_set_format(&info, GST_VIDEO_FORMAT_BGRx, 64, 32);
  GstBuffer* buffer = gst_buffer_new_allocate(nullptr, info.size, nullptr);
  GstVideoFrame frame;
  ASSERT_TRUE(gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ));
  TFrameReducer reducer;
  QImage image;
  EXPECT_FALSE(reducer.Reduce(frame, 2, image));
  EXPECT_TRUE(image.isNull());
  gst_video_frame_unmap(&frame);
  gst_buffer_unref(buffer);
}
