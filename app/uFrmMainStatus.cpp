// The player's reports on screen, and the subtitle panel: its text, its
// automatic font fit and its click.
#include "app/uFrmMain.h"

#include "app/uAppIdle.h"
#include "app/uImageView.h"
#include "app/uSrtPanel.h"
#include "controls/uFMXBtnMedia.h"
#include "player/uFMXMfPlayerClass.h"
#include "settings/uFMXUtils.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSplitter>
#include <QLabel>

#include <algorithm>
#include <cmath>

void TFrmMain::PlayerBitmap(const QImage& ABitmap) { Image->SetBitmap(ABitmap); }

void TFrmMain::PlayerMax(uint64_t ATime) { TimeBar->SetMax(ATime); }

void TFrmMain::PlayerPos(uint64_t ATime, float AVolume, bool AisPlaying) {
  FisPlaying = AisPlaying;
  TimeBar->SetValue(ATime);
  VolumeBar->SetValue(AVolume);
  BtPlayPause->IconSet(AisPlaying);
  FTime = static_cast<int64_t>(ATime);
  lbTime->setText(HnsToStr(static_cast<int64_t>(ATime)));
  // Only a change of entry touches the panel: most reports cost one lookup.
  const uint16_t i = GetSrtIndex(ATime, SrtIndex);
  if (i != DrtIndex) {
    lbSrt->setText(GetSrtText(i, SrtLists));
    DrtIndex = i;
  }
}

void TFrmMain::FitSrtFont() {
  QFont font = lbSrt->font();
  if (FontSize == 0 && SrtPoint.x() != 0) {
    const float r = static_cast<float>(static_cast<double>(lbSrt->width()) / SrtPoint.x());
    lbSrt->setWordWrap(false);
    // The widest line, measured at the base size, then just fills the width.
    // Qt refuses sizes <= 0, which a panel not yet laid out would give.
    font.setPointSizeF(std::max(1.0f, r * SrtFontSizes[0]));
    lbSrt->setFont(font);
    lbSrtHeight = r * static_cast<float>(SrtPoint.y());
    if (AppIdlelbSrtResizeID == -1)
      AppIdlelbSrtResizeID = AppIdleSubscribe([this] { AppIdlelbSrtResize(); });
  } else {
    lbSrt->setWordWrap(true);
    const int32_t size = std::clamp<int32_t>(FontSize, 0, 5);
    font.setPointSizeF(SrtFontSizes[size]);
    lbSrt->setFont(font);
  }
}

void TFrmMain::AppIdlelbSrtResize() {
  // Unsubscribe first: setting the height may fit the font again, which must
  // be free to schedule the next pass.
  AppIdleUnsubscribe(AppIdlelbSrtResizeID);
  AppIdlelbSrtResizeID = -1;
  SetSrtPanelHeight(static_cast<int>(std::ceil(lbSrtHeight)));
}

void TFrmMain::SetSrtPanelHeight(int AHeight) {
  // The splitter owns the panel's height; the image takes what is left.
  const QList<int> sizes = Splitter1->sizes();
  if (sizes.size() != 2) return;
  const int total = sizes[0] + sizes[1];
  const int h = std::clamp(AHeight, lbSrt->minimumHeight(), std::max(total, lbSrt->minimumHeight()));
  if (h == sizes[1]) return;
  Splitter1->setSizes({total - h, h});
}

void TFrmMain::lbSrtResize() { FitSrtFont(); }

void TFrmMain::lbSrtClick() {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(lbSrt->text());
}

void TFrmMain::ImageResize() {
  const int W = Image->width();
  const int H = Image->height();
  // Frames far larger than the area they are shown in are reduced by the player.
  if (MfPlayer) MfPlayer->SetDisplaySize(Image->size() * Image->devicePixelRatioF());
  lbImg->resize(W, H / 2);
  QFont f = lbImg->font();
  f.setPixelSize(std::max(1, H / 4));
  lbImg->setFont(f);
  const int s = W > H ? H / 5 : W / 5;
  ptImg->resize(s, static_cast<int>(s * 1.2));
  // Both overlays stay centred on the image.
  lbImg->move((W - lbImg->width()) / 2, (H - lbImg->height()) / 2);
  ptImg->move((W - ptImg->width()) / 2, (H - ptImg->height()) / 2);
}
