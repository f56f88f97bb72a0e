#include "player/uFrameReduce.h"

#include <algorithm>

namespace {
// Sums are 16 bits wide: a block of up to 16 by 16 samples cannot overflow them.
constexpr int MaxFactor = 16;

// AOut[i * AOutStep] = the sum of N samples from AIn[i * K]: block sums across
// a row. Fixed strides let the compiler unroll and vectorise the usual factors.
template <int K, int N>
void SumBlocksOf(const uint16_t* __restrict AIn, int ACount, uint16_t* __restrict AOut, int AOutStep) {
  for (int i = 0; i < ACount; ++i) {
    int sum = 0;
    for (int j = 0; j < N; ++j) sum += AIn[i * K + j];
    AOut[i * AOutStep] = static_cast<uint16_t>(sum);
  }
}

void SumBlocks(const uint16_t* AIn, int ACount, int AStride, int ASize, uint16_t* AOut, int AOutStep) {
  if (AStride == ASize && AOutStep == 1) {
    switch (ASize) {
      case 1: return SumBlocksOf<1, 1>(AIn, ACount, AOut, 1);
      case 2: return SumBlocksOf<2, 2>(AIn, ACount, AOut, 1);
      case 3: return SumBlocksOf<3, 3>(AIn, ACount, AOut, 1);
      case 4: return SumBlocksOf<4, 4>(AIn, ACount, AOut, 1);
      default: break;
    }
  }
  if (AStride == 3 && ASize == 2) return SumBlocksOf<3, 2>(AIn, ACount, AOut, AOutStep);
  for (int i = 0; i < ACount; ++i) {
    int sum = 0;
    for (int j = 0; j < ASize; ++j) sum += AIn[i * AStride + j];
    AOut[i * AOutStep] = static_cast<uint16_t>(sum);
  }
}

// The chroma sums of each block of a row. Block i starts at chroma column
// (i * AFactor) >> AShift: with a factor that is not a multiple of the
// subsampling neighbours share a column, and every 1 << AShift-th block
// starts AFactor columns after the one before.
void SumChromaBlocks(const uint16_t* AIn, int ACount, int AFactor, int AShift, int ASize, uint16_t* AOut) {
  const int period = 1 << AShift;
  if (AFactor % period == 0) return SumBlocks(AIn, ACount, AFactor / period, ASize, AOut, 1);
  for (int q = 0; q < period && q < ACount; ++q)
    SumBlocks(AIn + ((q * AFactor) >> AShift), (ACount - q + period - 1) / period, AFactor, ASize, AOut + q,
              period);
}

// In 0..255, written so that it vectorises well.
inline float Clamped(float AValue) {
  AValue = AValue > 0.0f ? AValue : 0.0f;
  return AValue < 255.0f ? AValue : 255.0f;
}

// Adds rows of one plane's component (samples AStep bytes apart) into ASum.
void AddRows(const uint8_t* APlane, int AStride, int AStep, int AFirstRow, int ARows, int AColumns,
             uint16_t* __restrict ASum) {
  for (int r = AFirstRow; r < AFirstRow + ARows; ++r) {
    const uint8_t* __restrict row = APlane + static_cast<qsizetype>(r) * AStride;
    const bool isFirst = r == AFirstRow;
    if (AStep == 1 && isFirst) {
      for (int x = 0; x < AColumns; ++x) ASum[x] = row[x];
    } else if (AStep == 1) {
      for (int x = 0; x < AColumns; ++x) ASum[x] += row[x];
    } else if (isFirst) {
      for (int x = 0; x < AColumns; ++x) ASum[x] = row[x * AStep];
    } else {
      for (int x = 0; x < AColumns; ++x) ASum[x] += row[x * AStep];
    }
  }
}
}  // namespace

int ReductionFactor(QSize AFrame, QSize ADisplay) {
  if (ADisplay.isEmpty() || AFrame.isEmpty()) return 1;
  // The owner fits the picture into ADisplay with its aspect ratio kept, so
  // the direction that limits the fit decides.
  const int factor = std::max(AFrame.width() / ADisplay.width(), AFrame.height() / ADisplay.height());
  return std::clamp(factor, 1, MaxFactor);
}

void FitBitmap(QImage& ABitmap, QSize ASize) {
  // An image the owner still shares gets fresh pixels instead of a copy of the old ones.
  if (ABitmap.size() != ASize || ABitmap.format() != QImage::Format_RGB32 || !ABitmap.isDetached())
    ABitmap = QImage(ASize, QImage::Format_RGB32);
}

bool TFrameReducer::Reduce(const GstVideoFrame& AFrame, int AFactor, QImage& ABitmap) {
  switch (GST_VIDEO_FRAME_FORMAT(&AFrame)) {
    case GST_VIDEO_FORMAT_I420: case GST_VIDEO_FORMAT_YV12: case GST_VIDEO_FORMAT_NV12:
    case GST_VIDEO_FORMAT_NV21: case GST_VIDEO_FORMAT_Y42B: case GST_VIDEO_FORMAT_Y444:
      break;
    default:
      return false;
  }
  gdouble kr = 0, kb = 0;
  const GstVideoColorimetry& colorimetry = AFrame.info.colorimetry;
  if (AFactor < 2 || AFactor > MaxFactor || !gst_video_color_matrix_get_Kr_Kb(colorimetry.matrix, &kr, &kb))
    return false;
  const int k = AFactor;
  const int w = GST_VIDEO_FRAME_WIDTH(&AFrame) / k, h = GST_VIDEO_FRAME_HEIGHT(&AFrame) / k;
  if (w < 1 || h < 1) return false;
  FitBitmap(ABitmap, QSize(w, h));
  if (ABitmap.isNull()) return false;

  // Y'CbCr to R'G'B' with the frame's own matrix and range.
  const bool isFull = colorimetry.range == GST_VIDEO_COLOR_RANGE_0_255;
  const float ys = isFull ? 1.0f : 255.0f / 219.0f, cs = isFull ? 1.0f : 255.0f / 224.0f;
  const float yOffset = isFull ? 0.0f : 16.0f, kg = static_cast<float>(1.0 - kr - kb);
  const float crv = static_cast<float>(2 * (1 - kr)) * cs, cbu = static_cast<float>(2 * (1 - kb)) * cs;
  const float cgu = static_cast<float>(2 * kb * (1 - kb)) / kg * cs;
  const float cgv = static_cast<float>(2 * kr * (1 - kr)) / kg * cs;

  const uint8_t* yPlane = static_cast<const uint8_t*>(GST_VIDEO_FRAME_COMP_DATA(&AFrame, 0));
  const uint8_t* cbPlane = static_cast<const uint8_t*>(GST_VIDEO_FRAME_COMP_DATA(&AFrame, 1));
  const uint8_t* crPlane = static_cast<const uint8_t*>(GST_VIDEO_FRAME_COMP_DATA(&AFrame, 2));
  const int yStride = GST_VIDEO_FRAME_COMP_STRIDE(&AFrame, 0);
  const int cbStride = GST_VIDEO_FRAME_COMP_STRIDE(&AFrame, 1), crStride = GST_VIDEO_FRAME_COMP_STRIDE(&AFrame, 2);
  const int cbStep = GST_VIDEO_FRAME_COMP_PSTRIDE(&AFrame, 1), crStep = GST_VIDEO_FRAME_COMP_PSTRIDE(&AFrame, 2);
  const int wSub = GST_VIDEO_FORMAT_INFO_W_SUB(AFrame.info.finfo, 1);
  const int hSub = GST_VIDEO_FORMAT_INFO_H_SUB(AFrame.info.finfo, 1);

  // Every block lies over the same number of chroma samples; with a factor
  // that is not a multiple of the subsampling, neighbours share one column.
  const int cColumns = ((k - 1) >> wSub) + 1, cRows = ((k - 1) >> hSub) + 1;
  const int lumaColumns = w * k, chromaColumns = (((w - 1) * k) >> wSub) + cColumns;
  FLuma.resize(lumaColumns);
  FCb.resize(chromaColumns);
  FCr.resize(chromaColumns);
  FY.resize(w);
  FU.resize(w);
  FV.resize(w);
  uint16_t* __restrict yBlock = FY.data();
  uint16_t* __restrict uBlock = FU.data();
  uint16_t* __restrict vBlock = FV.data();
  const float lumaScale = 1.0f / static_cast<float>(k * k);
  const float chromaScale = 1.0f / static_cast<float>(cColumns * cRows);

  for (int oy = 0; oy < h; ++oy) {
    AddRows(yPlane, yStride, 1, oy * k, k, lumaColumns, FLuma.data());
    SumBlocks(FLuma.data(), w, k, k, yBlock, 1);
    const int firstRow = (oy * k) >> hSub;
    AddRows(cbPlane, cbStride, cbStep, firstRow, cRows, chromaColumns, FCb.data());
    AddRows(crPlane, crStride, crStep, firstRow, cRows, chromaColumns, FCr.data());
    SumChromaBlocks(FCb.data(), w, k, wSub, cColumns, uBlock);
    SumChromaBlocks(FCr.data(), w, k, wSub, cColumns, vBlock);

    uint32_t* __restrict out = reinterpret_cast<uint32_t*>(ABitmap.scanLine(oy));
    for (int ox = 0; ox < w; ++ox) {
      const float y = (static_cast<float>(yBlock[ox]) * lumaScale - yOffset) * ys + 0.5f;
      const float u = static_cast<float>(uBlock[ox]) * chromaScale - 128.0f;
      const float v = static_cast<float>(vBlock[ox]) * chromaScale - 128.0f;
      const float red = Clamped(y + crv * v), green = Clamped(y - cgu * u - cgv * v), blue = Clamped(y + cbu * u);
      out[ox] = 0xff000000u | static_cast<uint32_t>(static_cast<int>(red)) << 16 |
                static_cast<uint32_t>(static_cast<int>(green)) << 8 | static_cast<uint32_t>(static_cast<int>(blue));
    }
  }
  return true;
}
