#pragma once
// The About window behind the information button: artwork, version and a
// link to the product page. Created once at startup, after the main window.

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

class TFMXFrmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFMXFrmAbout(QWidget* parent = nullptr);

  // Shows the window modally, centred on its parent, until OK or the close
  // button ends it.
  void Execute();

  // Artwork, caption, version and link text; runs once, from the constructor.
  void FormCreate();
  // Dark title bar in dark mode; runs every time the window is shown.
  void FormShow();
  // Opens ProductPageURL() in the browser; the window stays open.
  void LbURLClick();
  // Puts ProductPageURL() into LbURL.
  void SetURLLabel();
  // The product page for the interface language (build-time settings
  // QUENNEL_URL_EN and QUENNEL_URL_JA).
  static QString ProductPageURL();

  QLabel* Image1 = nullptr;  // background artwork, fills the window
  QLabel* Image2 = nullptr;  // title artwork, top half
  QWidget* Layout1 = nullptr;
  QLabel* LbVersion = nullptr;
  QLabel* LbURL = nullptr;
  QPushButton* ButtonOK = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The one About window of the program; whoever creates it at startup sets this.
extern TFMXFrmAbout* FMXFrmAbout;
