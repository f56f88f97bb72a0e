#include "settings/uDlgSetup.h"

#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPolygonF>
#include <QPushButton>
#include <QStringList>

#include "settings/uFMXUtils.h"

TDlgSetup* DlgSetup = nullptr;

const QString TDlgSetup::NoticeEN =
    QStringLiteral("Changes to this setting will take effect after restarting the application.");
const QString TDlgSetup::NoticeJA =
    QStringLiteral("この設定の変更はアプリケーションの再起動後に反映されます。");

namespace {

// The drop-down arrow of a combo box, drawn over its 18-wide right edge.
class TComboArrow : public QWidget {
 public:
  explicit TComboArrow(QWidget* box) : QWidget(box) {
    setObjectName(QStringLiteral("ContrastEffectStyle"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  QColor color;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c = QRectF(rect()).center();
    p.drawPolyline(QPolygonF({c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)}));
  }
};

QString css(QRgb c) { return QColor::fromRgb(c).name(QColor::HexRgb); }

void setTextColor(QWidget* w, QRgb c) {
  QPalette p = w->palette();
  for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    p.setColor(role, QColor::fromRgb(c));
  w->setPalette(p);
}

// The buttons' own look: flat boxes in the theme's ramps, so they read in
// both modes whatever palette the desktop hands us.
QString BtnStyle1() {
  return QStringLiteral(
             "QPushButton { background-color: %1; color: %2; border: 1px solid %3;"
             " border-radius: 2px; padding: 2px 8px; }"
             "QPushButton:hover { border-color: %4; }"
             "QPushButton:pressed { background-color: %4; color: #FFFFFF; }"
             "QPushButton:focus { border-color: %4; }")
      .arg(css(BackColor1), css(ForeColor0), css(ForeColor2), css(AccentColor));
}

QComboBox* makeCombo(QWidget* parent, const QStringList& items, int rows, int x, int y) {
  auto* box = new QComboBox(parent);
  box->addItems(items);
  box->setMaxVisibleItems(rows);
  box->setGeometry(x, y, 129, 22);
  return box;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect r, Qt::Alignment align) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(r);
  l->setAlignment(align | Qt::AlignVCenter);
  return l;
}

}  // namespace

TDlgSetup::TDlgSetup(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("DlgSetup"));
  setWindowTitle(QStringLiteral("Setup"));
  setFixedSize(641, 161);
  setModal(true);

  Label1 = makeLabel(this, QStringLiteral("Dark Mode:"), {10, 27, 73, 17}, Qt::AlignRight);
  cbDarkMode = makeCombo(
      this, {QStringLiteral("Auto"), QStringLiteral("Light"), QStringLiteral("Dark")}, 3, 91, 24);
  // The notice is longer than its 368-unit width in both languages; it
  // wraps onto a second line, which still ends above the Font Size row.
  Label2 = new QLabel(this);
  Label2->setGeometry(248, 27, 368, 34);
  Label2->setWordWrap(true);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label3 = makeLabel(this, QStringLiteral("Font Size:"), {10, 67, 73, 17}, Qt::AlignRight);
  cbFontSize =
      makeCombo(this,
                {QStringLiteral("Auto"), QStringLiteral("Smaller"), QStringLiteral("Small"),
                 QStringLiteral("Normal"), QStringLiteral("Large"), QStringLiteral("Larger")},
                7, 91, 67);

  btOK = new QPushButton(QStringLiteral("OK"), this);
  btOK->setGeometry(448, 120, 80, 22);
  btOK->setDefault(true);
  btCancel = new QPushButton(QStringLiteral("Cancel"), this);
  btCancel->setGeometry(536, 120, 80, 22);
  connect(btOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

  setTabOrder(cbFontSize, cbDarkMode);
  setTabOrder(cbDarkMode, btCancel);
  setTabOrder(btCancel, btOK);

  FormCreate();
}

void TDlgSetup::FormCreate() {
  SetDarkTitleBar(this);

  QPalette p = palette();
  p.setColor(QPalette::Window, QColor::fromRgb(BackColor2));
  setPalette(p);
  setAutoFillBackground(true);

  for (QWidget* w :
       {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2), static_cast<QWidget*>(Label3),
        static_cast<QWidget*>(btCancel), static_cast<QWidget*>(btOK)})
    setTextColor(w, ForeColor0);
  const QString btnStyle = BtnStyle1();
  btOK->setStyleSheet(btnStyle);
  btCancel->setStyleSheet(btnStyle);

  Label2->setText(IsLangJA() ? NoticeJA : NoticeEN);

  cbDarkModeApplyStyleLookup(cbDarkMode);
  cbDarkModeApplyStyleLookup(cbFontSize);
}

void TDlgSetup::cbDarkModeApplyStyleLookup(QComboBox* box) {
  // The box: BackColor1 with a ForeColor2 outline, an 18-wide arrow area on
  // the right. "combobox-popup: 0" makes the list honour the row count
  // instead of opening as a menu over the box.
  QString sheet = QStringLiteral(
                      "QComboBox { background-color: %1; border: 1px solid %2; color: %3;"
                      " padding: 2px 20px 2px 2px; combobox-popup: 0; }"
                      "QComboBox::drop-down { subcontrol-origin: padding;"
                      " subcontrol-position: top right; width: 18px; border: none; }")
                      .arg(css(BackColor1), css(ForeColor2), css(ForeColor0));
  if (!IsLightMode) {
    // Dark list for a dark program; in light mode the default list stays.
    sheet += QStringLiteral(
                 "QComboBox QAbstractItemView { background-color: #222222; color: %1;"
                 " border: 1px solid %2; selection-background-color: %3; outline: 0; }")
                 .arg(css(ForeColor0), css(ForeColor2), css(AccentColor));
  }
  box->setStyleSheet(sheet);

  // A styled box loses the style's arrow, so we draw our own. Dark mode
  // brightens it half way to white, so it stands out on the dark box;
  // light mode leaves it in the outline colour.
  auto* arrow = box->findChild<TComboArrow*>(QStringLiteral("ContrastEffectStyle"));
  if (!arrow) arrow = new TComboArrow(box);
  arrow->setGeometry(box->width() - 18, 0, 18, box->height());
  QColor c = QColor::fromRgb(ForeColor2);
  if (!IsLightMode) c = QColor((c.red() + 255) / 2, (c.green() + 255) / 2, (c.blue() + 255) / 2);
  arrow->color = c;
  arrow->update();

  // Item texts in ForeColor0, whatever the list style would give them.
  for (int i = 0; i < box->count(); ++i)
    box->setItemData(i, QColor::fromRgb(ForeColor0), Qt::ForegroundRole);
}

void TDlgSetup::SetValues() {
  cbDarkMode->setCurrentIndex(DarkMode);
  cbFontSize->setCurrentIndex(FontSize);
}

void TDlgSetup::GetValues() {
  const int mode = cbDarkMode->currentIndex();
  if (mode >= 0 && mode <= 2) DarkMode = static_cast<uint8_t>(mode);
  // No selection keeps the old size: -1 would index past the font table.
  const int size = cbFontSize->currentIndex();
  if (size >= 0) FontSize = size;
}

bool TDlgSetup::Execute() {
  SetValues();
  if (exec() != QDialog::Accepted) return false;
  GetValues();
  SaveSettings();
  return true;
}
