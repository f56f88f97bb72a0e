// The frame of the main window: its layout, life cycle and the event routing
// of the image, the subtitle panel and the search box.
#include "app/uFrmMain.h"

#include "app/uAppIdle.h"
#include "app/uImageView.h"
#include "app/uSrtPanel.h"
#include "player/uFMXMfPlayerClass.h"
#include "settings/uFMXUtils.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSequentialAnimationGroup>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <numbers>

namespace {

QColor Rgb(QRgb c) { return QColor::fromRgba(c); }

// A widget that holds a layout of its own and takes no room beyond it.
QWidget* NewLayout(QWidget* AParent, const char* AName) {
  auto* w = new QWidget(AParent);
  w->setObjectName(QString::fromLatin1(AName));
  return w;
}

QPropertyAnimation* NewFade(QObject* ATarget, int AMs) {
  auto* a = new QPropertyAnimation(ATarget, "opacity", ATarget);
  a->setDuration(AMs);
  return a;
}

}  // namespace

TFrmMain::TFrmMain(const QStringList& AArgs, QWidget* parent) : QWidget(parent), FArgs(AArgs) {
  BuildLayout();
  FormCreate();
}

TFrmMain::~TFrmMain() { FormDestroy(); }

void TFrmMain::BuildLayout() {
  setWindowTitle(QStringLiteral("Quennel"));
  resize(640, 480);
  setMinimumSize(640, 480);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(0);

  // Image area above the subtitle panel; the splitter between them sets the
  // panel's height.
  LayoutI = NewLayout(this, "LayoutI");
  auto* layI = new QVBoxLayout(LayoutI);
  layI->setContentsMargins(0, 0, 0, 5);  // the panel's bottom margin
  layI->setSpacing(0);
  Splitter1 = new QSplitter(Qt::Vertical, LayoutI);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(5);
  Splitter1->setChildrenCollapsible(false);
  layI->addWidget(Splitter1);

  Image = new TImageView(Splitter1);
  Image->setObjectName(QStringLiteral("Image"));
  Image->setAcceptDrops(true);
  Image->setMinimumSize(0, 0);
  Image->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

  lbImg = new TOverlayLabel(Image);
  lbImg->setObjectName(QStringLiteral("lbImg"));
  lbImg->resize(120, 120);
  QFont big(QStringLiteral("Tahoma"));
  big.setPixelSize(40);
  lbImg->setFont(big);
  selbImg = new QGraphicsDropShadowEffect(lbImg);
  const double dir = 45.0 * std::numbers::pi / 180.0;
  selbImg->setOffset(3.0 * std::cos(dir), 3.0 * std::sin(dir));
  selbImg->setBlurRadius(6);
  selbImg->setColor(QColor(0, 0, 0, 153));
  lbImg->setGraphicsEffect(selbImg);
  falbImg = NewFade(lbImg, 200);

  ptImg = new TOverlayPath(Image);
  ptImg->setObjectName(QStringLiteral("ptImg"));
  ptImg->resize(100, 100);
  {
    // One run fades the symbol in and back out.
    faptImg = new QSequentialAnimationGroup(ptImg);
    auto* in = NewFade(ptImg, 200);
    in->setStartValue(0.0);
    in->setEndValue(1.0);
    in->setEasingCurve(QEasingCurve::InOutQuad);
    auto* out = NewFade(ptImg, 200);
    out->setStartValue(1.0);
    out->setEndValue(0.0);
    out->setEasingCurve(QEasingCurve::InOutQuad);
    faptImg->addAnimation(in);
    faptImg->addAnimation(out);
  }

  lbSrt = new TSrtPanel(Splitter1);
  lbSrt->setObjectName(QStringLiteral("lbSrt"));
  lbSrt->setMinimumSize(0, 16);
  lbSrt->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  lbSrt->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lbSrt->setWordWrap(false);
  lbSrt->setCursor(Qt::PointingHandCursor);
  lbSrt->setAcceptDrops(true);
  lbSrt->setTextFormat(Qt::PlainText);
  {
    QPalette pal = lbSrt->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    lbSrt->setPalette(pal);
    QFont f = lbSrt->font();
    f.setPointSizeF(SrtFontSizes[0]);
    lbSrt->setFont(f);
  }
  Splitter1->addWidget(Image);
  Splitter1->addWidget(lbSrt);
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  Splitter1->setSizes({10000, 16});
  root->addWidget(LayoutI, 1);

  // The control bar: transport row above the search row.
  Rectangle = NewLayout(this, "Rectangle");
  Rectangle->setFixedHeight(65);
  Rectangle->setAutoFillBackground(true);
  auto* layR = new QVBoxLayout(Rectangle);
  layR->setContentsMargins(0, 5, 0, 5);
  layR->setSpacing(5);

  LayoutM = NewLayout(Rectangle, "LayoutM");
  LayoutM->setFixedHeight(25);
  LayoutML = NewLayout(LayoutM, "LayoutML");
  LayoutML->setFixedWidth(205);
  lbTime = new QLabel(QStringLiteral("00:00:00"), LayoutML);
  lbTime->setObjectName(QStringLiteral("lbTime"));
  lbTime->setAlignment(Qt::AlignCenter);
  lbTime->setFixedWidth(50);
  layR->addWidget(LayoutM);

  LayoutB = NewLayout(Rectangle, "LayoutB");
  LayoutB->setFixedHeight(25);
  auto* layB = new QHBoxLayout(LayoutB);
  layB->setContentsMargins(5, 0, 5, 0);
  layB->setSpacing(0);
  LayoutBL = NewLayout(LayoutB, "LayoutBL");
  LayoutBL->setFixedSize(25, 25);
  LayoutBR = NewLayout(LayoutB, "LayoutBR");
  LayoutBR->setFixedSize(145, 25);
  EdSrt = new QLineEdit(LayoutB);
  EdSrt->setObjectName(QStringLiteral("EdSrt"));
  EdSrt->setFixedHeight(25);
  EdSrt->setFrame(false);
  layB->addWidget(LayoutBL);
  layB->addSpacing(5);
  layB->addWidget(EdSrt, 1);
  layB->addSpacing(5);
  layB->addWidget(LayoutBR);
  layR->addWidget(LayoutB);
  root->addWidget(Rectangle);

  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);  // same dialog everywhere, testable

  ImageTimer = new QTimer(this);
  ImageTimer->setObjectName(QStringLiteral("ImageTimer"));
  ImageTimer->setInterval(200);
  connect(ImageTimer, &QTimer::timeout, this, &TFrmMain::ImageTimerTimer);

  Image->installEventFilter(this);
  lbSrt->installEventFilter(this);
  EdSrt->installEventFilter(this);
}

void TFrmMain::FormCreate() {
  AppIdlelbSrtResizeID = -1;
  isFirst = true;
  FWheelCount = WheelIdle;
  FisPlaying = false;

  LoadSettings();
  SetThemeColors();
  SetDarkTitleBar(this);
  SetWindowCorner(this, 1);

  SrtLists.clear();
  SrtPoint = QPointF(0, 0);
  DrtIndex = NoSrtEntry;
  lbSrt->setText(QString());

  {
    QPalette pal = lbTime->palette();
    pal.setColor(QPalette::WindowText, Rgb(ForeColor0));
    lbTime->setPalette(pal);
    // The time must fit its 50 pixels whatever font the desktop gives us.
    QFont f = lbTime->font();
    while (f.pointSizeF() > 5 && QFontMetricsF(f).horizontalAdvance(QStringLiteral("00:00:00")) > 47)
      f.setPointSizeF(f.pointSizeF() - 0.5);
    lbTime->setFont(f);
  }
  MfPlayer = nullptr;
  CreateToolbar();
  {
    QPalette pal = Rectangle->palette();
    pal.setColor(QPalette::Window, Rgb(BackColor1));
    Rectangle->setPalette(pal);
  }

  // The rest of the window paints in the theme's ground colour, but the
  // picture and the white subtitle text sit on black in both modes, as in
  // any player; the splitter's grip is a faint line.
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Rgb(BackColor0));
  pal.setColor(QPalette::WindowText, Rgb(ForeColor0));
  setPalette(pal);
  setAutoFillBackground(true);
  QPalette black = LayoutI->palette();
  black.setColor(QPalette::Window, Qt::black);
  LayoutI->setPalette(black);
  LayoutI->setAutoFillBackground(true);
  QColor grip = Qt::white;
  grip.setAlphaF(0.1f);
  Splitter1->setStyleSheet(QStringLiteral("QSplitter::handle { background: %1; }")
                               .arg(grip.name(QColor::HexArgb)));
  EdSrtApplyStyleLookup();

  // The search reports a bad pattern through this window.
  SrtMessageHandler = [this](const QString& AText) {
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), AText, QMessageBox::Ok, this);
    box.exec();
  };

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TFrmMain::FormShow() {
  if (!isFirst) return;
  // Cleared before opening: a failing open must not make the next show retry.
  isFirst = false;
  // Opened right after the show, so that a message about the file appears
  // over the window rather than before it.
  if (FArgs.size() == 1)
    QMetaObject::invokeMethod(this, [this] { OpenVideoFile(FArgs.front()); }, Qt::QueuedConnection);
}

void TFrmMain::FormCloseQuery(bool& CanClose) {
  CanClose = false;
  ReleasePlayer();
  CanClose = true;
}

void TFrmMain::FormDestroy() {
  SrtMessageHandler = nullptr;
  // A pending panel resize must not outlive the window.
  if (AppIdlelbSrtResizeID != -1) AppIdleUnsubscribe(AppIdlelbSrtResizeID);
  AppIdlelbSrtResizeID = -1;
  try {
    SaveSettings();
  } catch (const std::exception& e) {
    // Nothing may leave a destructor; the user still hears that the
    // settings were not kept.
    QMessageBox::critical(nullptr, QStringLiteral("Quennel"), QString::fromLocal8Bit(e.what()),
                          QMessageBox::Close, QMessageBox::Close);
  }
  SrtLists.clear();
  delete MfPlayer;
  MfPlayer = nullptr;
}

void TFrmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TFrmMain::closeEvent(QCloseEvent* event) {
  // Stays refused when the release throws; the top-level handler reports it.
  event->ignore();
  bool CanClose = false;
  FormCloseQuery(CanClose);
  if (CanClose) event->accept();
}

void TFrmMain::ShowError(const QString& AText) {
  QMessageBox::critical(this, windowTitle(), AText, QMessageBox::Close, QMessageBox::Close);
}

bool TFrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EdSrt) {
    if (event->type() == QEvent::KeyRelease) {
      auto* key = static_cast<QKeyEvent*>(event);
      // Holding Enter must not repeat the search.
      if (!key->isAutoRepeat()) EdSrtKeyUp(key->key());
    }
    return false;
  }
  if (watched == Image || watched == lbSrt)
    return HandleSurfaceEvent(static_cast<QWidget*>(watched), event);
  return QWidget::eventFilter(watched, event);
}

bool TFrmMain::HandleSurfaceEvent(QWidget* ASurface, QEvent* AEvent) {
  const bool isImage = ASurface == Image;
  bool& pressed = isImage ? isImagePressed : isSrtPressed;
  switch (AEvent->type()) {
    case QEvent::Resize:
      if (isImage)
        ImageResize();
      else
        lbSrtResize();
      return false;
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(AEvent)->button() == Qt::LeftButton) pressed = true;
      return false;
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(AEvent);
      if (mouse->button() != Qt::LeftButton) return false;
      // A click is a press and a release on the same surface.
      const bool click = pressed && ASurface->rect().contains(mouse->position().toPoint());
      pressed = false;
      if (click) {
        if (isImage)
          ImageClick();
        else
          lbSrtClick();
      }
      return false;
    }
    case QEvent::Wheel: {
      ImageMouseWheel(static_cast<QWheelEvent*>(AEvent)->angleDelta().y());
      return false;  // left unhandled, as before
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(AEvent);
      const bool take = isImage ? ImageDragOver(drag->mimeData()) : lbSrtDragOver(drag->mimeData());
      if (take) {
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(AEvent);
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      if (isImage)
        ImageDragDrop(drop->mimeData());
      else
        lbSrtDragDrop(drop->mimeData());
      return true;
    }
    default:
      return false;
  }
}
