// Opening videos and subtitle files: the player's life, the dialogs and the
// drop targets.
#include "app/uFrmMain.h"

#include "app/uImageView.h"
#include "app/uSrtPanel.h"
#include "controls/uFMXBtnMedia.h"
#include "player/uFMXMfPlayerClass.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

QString LowerAsciiExt(const QString& AFileName) {
  const QString name = QFileInfo(AFileName).fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return QString();
  QString ext = name.mid(dot);
  // Only A-Z fold: a Unicode-aware lower() would accept names the rule refuses.
  for (QChar& c : ext)
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
  return ext;
}

QString DroppedFile(const QMimeData* AData, const QString& AExt) {
  if (!AData || !AData->hasUrls()) return QString();
  const QList<QUrl> urls = AData->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return QString();
  const QString file = urls.front().toLocalFile();
  return LowerAsciiExt(file) == AExt ? file : QString();
}

void TFrmMain::ClearSrt() {
  SrtLists.clear();
  SrtIndex.clear();
  SrtPoint = QPointF(0, 0);
  DrtIndex = NoSrtEntry;
  lbSrt->setText(QString());
  // Matches belong to the list they were found in.
  SrtMatches.clear();
  SrtMatchIndex = 0;
}

void TFrmMain::ReleasePlayer() {
  if (!MfPlayer) return;
  if (MfPlayer->MediaShutDown()) {
    TMfPlayer* old = MfPlayer;
    MfPlayer = nullptr;
    // The controls must not keep a destroyed player, should the next one
    // fail to come up.
    SetControlsPlayer(nullptr);
    delete old;
  }
}

void TFrmMain::SetControlsPlayer(TMfPlayer* APlayer) {
  BtPlayPause->SetMfPlayer(APlayer);
  BtPlayFwd->SetMfPlayer(APlayer);
  BtPlayRwd->SetMfPlayer(APlayer);
  VolumeBar->SetMfPlayer(APlayer);
  TimeBar->SetMfPlayer(APlayer);
}

bool TFrmMain::CreatePlayer() {
  if (MfPlayer) return false;
  MfPlayer = new TMfPlayer([this](const QImage& ABitmap) { PlayerBitmap(ABitmap); },
                           [this](uint64_t ATime) { PlayerMax(ATime); },
                           [this](uint64_t ATime, float AVolume, bool AisPlaying) {
                             PlayerPos(ATime, AVolume, AisPlaying);
                           });
  return true;
}

void TFrmMain::OpenVideoFile(const QString& AFileName) {
  ReleasePlayer();
  if (!CreatePlayer()) {
    ShowError(QStringLiteral("Initial Failure - Failed to initialize Player."));
    return;
  }
  // The old video's last frame must not stand for the new file.
  Image->SetBitmap(QImage());
  MfPlayer->SetDisplaySize(Image->size() * Image->devicePixelRatioF());
  const HRESULT opened = MfPlayer->OpenURL(AFileName);
  SetControlsPlayer(MfPlayer);
  setWindowTitle(QStringLiteral("MP4Player - ") + QFileInfo(AFileName).fileName());
  ClearSrt();

  const QFileInfo video(AFileName);
  const QString base = video.fileName();
  const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
  const QString sibling =
      video.dir().filePath((dot < 0 ? base : base.left(dot)) + QStringLiteral(".srt"));
  if (QFileInfo(sibling).isFile()) OpenSrtFile(sibling);

  // Otherwise a file that cannot be played would just leave a black image.
  if (FAILED(opened))
    ShowError(QStringLiteral("The file \"%1\" cannot be played.")
                  .arg(QDir::toNativeSeparators(AFileName)));
}

void TFrmMain::OpenSrtFile(const QString& AFileName) {
  try {
    LoadSrtFile(SrtLists, AFileName);
    SrtIndex = MakeSrtIndex(SrtLists);
    SrtPoint = GetSrtPoint(SrtLists, lbSrt->font().family());
  } catch (const std::exception& e) {
    // The video goes on; the subtitles stay cleared and the user learns why.
    ClearSrt();
    ShowError(QStringLiteral("The subtitle file \"%1\" could not be loaded.\n\n%2")
                  .arg(QDir::toNativeSeparators(AFileName), QString::fromUtf8(e.what())));
    return;
  }
  FitSrtFont();
}

void TFrmMain::BtOpenExecute() {
  OpenDialog1->setNameFilter(QStringLiteral("MP4 File (*.mp4)"));
  OpenDialog1->selectNameFilter(QStringLiteral("MP4 File (*.mp4)"));
  OpenDialog1->selectFile(QStringLiteral("*.mp4"));
  OpenDialog1->setWindowTitle(QStringLiteral("Open MP4 File"));
  if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
  OpenVideoFile(OpenDialog1->selectedFiles().front());
}

void TFrmMain::BtSrtOpenExecute() {
  if (!MfPlayer) return;
  OpenDialog1->setNameFilter(QStringLiteral("Srt File (*.srt)"));
  OpenDialog1->selectNameFilter(QStringLiteral("Srt File (*.srt)"));
  OpenDialog1->selectFile(QStringLiteral("*.srt"));
  OpenDialog1->setWindowTitle(QStringLiteral("Open Srt File"));
  if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
  const QString file = OpenDialog1->selectedFiles().front();
  ClearSrt();
  OpenSrtFile(file);
}

bool TFrmMain::ImageDragOver(const QMimeData* AData) const {
  return !DroppedFile(AData, QStringLiteral(".mp4")).isEmpty();
}

void TFrmMain::ImageDragDrop(const QMimeData* AData) {
  const QString file = DroppedFile(AData, QStringLiteral(".mp4"));
  if (!file.isEmpty()) OpenVideoFile(file);
}

bool TFrmMain::lbSrtDragOver(const QMimeData* AData) const {
  return MfPlayer && !DroppedFile(AData, QStringLiteral(".srt")).isEmpty();
}

void TFrmMain::lbSrtDragDrop(const QMimeData* AData) {
  if (!lbSrtDragOver(AData)) return;
  ClearSrt();
  OpenSrtFile(DroppedFile(AData, QStringLiteral(".srt")));
}
