// The controls of the control bar, created once with the window.
#include "app/uFrmMain.h"

#include "controls/uFMXBtn.h"
#include "controls/uFMXBtnMedia.h"
#include "controls/uFMXIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QWheelEvent>

namespace {

// A plain icon button: 25 x 25, firing AExecute, showing AIcon.
TFMXBtn* NewIconBtn(QWidget* AParent, const char* AName, const char* AIcon,
                    std::function<void()> AExecute) {
  // Qt's parent owns the button, and the window owns the parent.
  auto* bt = new TFMXBtn(AParent);
  bt->setObjectName(QString::fromLatin1(AName));
  bt->SetSize(25, 25);
  bt->SetOnExecute([run = std::move(AExecute)](QObject*) { run(); });
  bt->SetSvgData(QString::fromLatin1(AIcon));
  return bt;
}

}  // namespace

void TFrmMain::CreateToolbar() {
  // Transport row, left group: open, subtitles, play/pause, back, forward,
  // 30 apart, then the time text at the right end of the group.
  BtOpen = NewIconBtn(LayoutML, "BtOpen", IconOpen, [this] { BtOpenExecute(); });
  BtPlayFwd = new TFMXPlayFwdBtn(LayoutML);
  BtPlayFwd->setObjectName(QStringLiteral("BtPlayFwd"));
  BtPlayFwd->SetSize(25, 25);
  BtPlayRwd = new TFMXPlayRwdBtn(LayoutML);
  BtPlayRwd->setObjectName(QStringLiteral("BtPlayRwd"));
  BtPlayRwd->SetSize(25, 25);
  BtPlayPause = new TFMXPlayPauseBtn(LayoutML);
  BtPlayPause->setObjectName(QStringLiteral("BtPlayPause"));
  BtPlayPause->SetSize(25, 25);
  BtSrtOpen = NewIconBtn(LayoutML, "BtSrtOpen", IconSrtOpen, [this] { BtSrtOpenExecute(); });

  auto* layML = new QHBoxLayout(LayoutML);
  layML->setContentsMargins(0, 0, 0, 0);
  layML->setSpacing(0);
  for (QWidget* w : std::initializer_list<QWidget*>{BtOpen, BtSrtOpen, BtPlayPause, BtPlayRwd,
                                                    BtPlayFwd}) {
    layML->addWidget(w);
    layML->addSpacing(5);
  }
  layML->addStretch(1);
  layML->addWidget(lbTime);

  // Transport row, the bars: position bar filling, volume bar at the right.
  VolumeBar = new TFMXVolBar(LayoutM);
  VolumeBar->setObjectName(QStringLiteral("VolumeBar"));
  VolumeBar->setFixedWidth(80);
  TimeBar = new TFMXPosBar(LayoutM);
  TimeBar->setObjectName(QStringLiteral("TimeBar"));
  // The wheel over the position bar seeks like over the image.
  TimeBar->SetOnMouseWheel(
      [this](QObject*, QWheelEvent* AEvent) { ImageMouseWheel(AEvent->angleDelta().y()); });

  auto* layM = new QHBoxLayout(LayoutM);
  layM->setContentsMargins(0, 0, 0, 0);
  layM->setSpacing(0);
  layM->addWidget(LayoutML);
  layM->addSpacing(5);
  layM->addWidget(TimeBar, 1);
  layM->addSpacing(5);
  layM->addWidget(VolumeBar);
  layM->addSpacing(5);

  // Search row: the mode toggle at the left end, five buttons at fixed
  // places at the right end.
  BtSrtRegEx = NewIconBtn(LayoutBL, "BtSrtRegEx", IconRegEx, [this] { BtSrtRegExExecute(); });
  BtSrtRegEx->move(0, 0);
  BtSrtRegEx->SetAccent(isRegEx);

  BtSearch = NewIconBtn(LayoutBR, "BtSearch", IconSearch, [this] { BtSearchExecute(); });
  BtSearch->move(0, 0);
  BtSrtBack = NewIconBtn(LayoutBR, "BtSrtBack", IconSrtBack, [this] { BtSrtBackExecute(); });
  BtSrtBack->move(30, 0);
  BtSrtNext = NewIconBtn(LayoutBR, "BtSrtNext", IconSrtNext, [this] { BtSrtNextExecute(); });
  BtSrtNext->move(60, 0);
  BtGear = NewIconBtn(LayoutBR, "BtGear", IconGear, [this] { BtGearExecute(); });
  BtGear->move(90, 0);
  BtInfo = NewIconBtn(LayoutBR, "BtInfo", IconInfo, [this] { BtInfoExecute(); });
  BtInfo->move(120, 0);
}
