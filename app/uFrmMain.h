#pragma once
// The main window: the video image with its overlays, the subtitle panel, the
// control bar with the transport row and the search row. The implementation
// is split by concern: uFrmMain.cpp (frame and life cycle), uFrmMainOpen.cpp,
// uFrmMainStatus.cpp, uFrmMainWheel.cpp, uFrmMainSearch.cpp, uFrmMainToolbar.cpp.

#include <QPointF>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>

#include "subtitles/uQuennelUtils.h"

class QFileDialog;
class QGraphicsDropShadowEffect;
class QLineEdit;
class QLabel;
class QMimeData;
class QPropertyAnimation;
class QSequentialAnimationGroup;
class QSplitter;
class QTimer;
class TFMXBtn;
class TFMXPlayPauseBtn;
class TFMXPlayFwdBtn;
class TFMXPlayRwdBtn;
class TFMXPosBar;
class TFMXVolBar;
class TImageView;
class TMfPlayer;
class TOverlayLabel;
class TOverlayPath;
class TSrtPanel;

// No wheel seek pending; no accumulated offset ever reaches it.
constexpr int64_t WheelIdle = 0x0FFFFFFFFFFFFFFF;
// The panel's entry index for "no entry".
constexpr uint16_t NoSrtEntry = 0xFFFF;

class TFrmMain : public QWidget {
  Q_OBJECT

 public:
  // AArgs: the command-line arguments without the program itself; exactly
  // one of them is opened as a video at the first show.
  explicit TFrmMain(const QStringList& AArgs = {}, QWidget* parent = nullptr);
  ~TFrmMain() override;

  // Life cycle.
  void FormCreate();
  void FormShow();
  void FormCloseQuery(bool& CanClose);
  void FormDestroy();

  // Opening media and subtitle files.
  void OpenVideoFile(const QString& AFileName);
  void OpenSrtFile(const QString& AFileName);
  void ClearSrt();
  bool CreatePlayer();
  void ReleasePlayer();
  void BtOpenExecute();
  void BtSrtOpenExecute();
  // A drag-over handler answers whether the drop would be taken.
  bool ImageDragOver(const QMimeData* AData) const;
  void ImageDragDrop(const QMimeData* AData);
  bool lbSrtDragOver(const QMimeData* AData) const;
  void lbSrtDragDrop(const QMimeData* AData);

  // The player's reports and the subtitle panel.
  void PlayerBitmap(const QImage& ABitmap);
  void PlayerMax(uint64_t ATime);
  void PlayerPos(uint64_t ATime, float AVolume, bool AisPlaying);
  // Re-fits the panel's font to its width; the setup dialog calls it after OK.
  void FitSrtFont();
  void AppIdlelbSrtResize();
  void lbSrtResize();
  void lbSrtClick();
  void ImageResize();

  // Wheel seeking and the click on the image.
  void ImageMouseWheel(int WheelDelta);
  void ImageTimerTimer();
  void ImageClick();

  // Search bar.
  void FindMatches(const QString& AText);
  void PrevMatch();
  void NextMatch();
  void JumpToEntry(int32_t AIndex);
  void EdSrtKeyUp(int AKey);
  void EdSrtApplyStyleLookup();
  void BtSearchExecute();
  void BtSrtBackExecute();
  void BtSrtNextExecute();
  void BtSrtRegExExecute();

  // Setup dialog and About window.
  void BtGearExecute();
  void BtInfoExecute();

  // State, named as the program's design names it (public so the setup
  // dialog and the tests can see what the window sees).
  bool isFirst = true;
  int64_t FTime = 0;
  TMfPlayer* MfPlayer = nullptr;  // owned
  TSrtLists SrtLists;
  uint16_t DrtIndex = NoSrtEntry;
  TSrtIndex SrtIndex;
  QPointF SrtPoint;
  float lbSrtHeight = 0;
  int64_t FWheelCount = WheelIdle;
  int64_t LWheelCount = 0;
  int32_t AppIdlelbSrtResizeID = -1;
  bool FisPlaying = false;

  // Components.
  QWidget* LayoutI = nullptr;
  QSplitter* Splitter1 = nullptr;
  TImageView* Image = nullptr;
  TOverlayLabel* lbImg = nullptr;
  QGraphicsDropShadowEffect* selbImg = nullptr;
  QPropertyAnimation* falbImg = nullptr;
  TOverlayPath* ptImg = nullptr;
  QSequentialAnimationGroup* faptImg = nullptr;
  TSrtPanel* lbSrt = nullptr;
  QWidget* Rectangle = nullptr;
  QWidget* LayoutB = nullptr;
  QWidget* LayoutBL = nullptr;
  QWidget* LayoutBR = nullptr;
  QLineEdit* EdSrt = nullptr;
  QWidget* LayoutM = nullptr;
  QWidget* LayoutML = nullptr;
  QLabel* lbTime = nullptr;
  QFileDialog* OpenDialog1 = nullptr;
  QTimer* ImageTimer = nullptr;

  TFMXBtn* BtOpen = nullptr;
  TFMXBtn* BtSrtOpen = nullptr;
  TFMXBtn* BtSrtRegEx = nullptr;
  TFMXBtn* BtSearch = nullptr;
  TFMXBtn* BtSrtBack = nullptr;
  TFMXBtn* BtSrtNext = nullptr;
  TFMXBtn* BtGear = nullptr;
  TFMXBtn* BtInfo = nullptr;
  TFMXPlayPauseBtn* BtPlayPause = nullptr;
  TFMXPlayFwdBtn* BtPlayFwd = nullptr;
  TFMXPlayRwdBtn* BtPlayRwd = nullptr;
  TFMXPosBar* TimeBar = nullptr;
  TFMXVolBar* VolumeBar = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void CreateToolbar();
  void SetControlsPlayer(TMfPlayer* APlayer);
  void SetSrtPanelHeight(int AHeight);
  void ShowError(const QString& AText);
  // The wheel and click surfaces, and the panel's events, all pass here.
  bool HandleSurfaceEvent(QWidget* ASurface, QEvent* AEvent);

  QStringList FArgs;
  bool isImagePressed = false;
  bool isSrtPressed = false;
};

// The extension of a file name's last part, dot included, with A-Z folded
// to a-z ("Talk.MP4" gives ".mp4"; no dot gives the empty text).
QString LowerAsciiExt(const QString& AFileName);
// The single local file of a drop whose extension is AExt, or the empty text.
QString DroppedFile(const QMimeData* AData, const QString& AExt);
