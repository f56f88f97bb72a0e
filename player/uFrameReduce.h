#pragma once
// Frames shown much smaller than they were decoded are converted at a reduced
// size straight from the decoder's YUV planes: each output pixel averages its
// block, which is far cheaper than converting the full frame and scaling it.
#include <gst/video/video.h>

#include <QImage>
#include <QSize>
#include <cstdint>
#include <vector>

// The largest integer factor by which a frame of AFrame pixels may shrink and
// still cover the picture it makes when fitted into ADisplay (aspect ratio
// kept); 1 without a display size or when the frame is less than twice that.
int ReductionFactor(QSize AFrame, QSize ADisplay);

// Makes ABitmap an RGB32 image of ASize whose pixels are its own, keeping the
// pixels it has when it already is one.
void FitBitmap(QImage& ABitmap, QSize ASize);

class TFrameReducer {
 public:
  // Converts AFrame into ABitmap AFactor times smaller; false, with ABitmap
  // untouched, for a format or colour matrix it does not handle.
  bool Reduce(const GstVideoFrame& AFrame, int AFactor, QImage& ABitmap);

 private:
  std::vector<uint16_t> FLuma, FCb, FCr;  // column sums of the rows of one block row
  std::vector<uint16_t> FY, FU, FV;       // block sums of one output row
};
