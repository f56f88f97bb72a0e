#pragma once
// Vector icon buttons: a rounded rectangle with an icon from SVG path data on
// top, both coloured from the theme by the pointer state.
//
// Properties are getter/setter pairs named GetX / SetX throughout the controls.

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

#include "controls/uFMXShapes.h"

// Pointer state shared by all our controls.
enum class TFMXMouseMode : uint8_t { isNone = 0, isHover = 1, isDown = 2 };

// Being pressed wins over being hovered.
TFMXMouseMode GetMouseMode(bool isDown, bool isHover);

// A notify event: called with the control that fired it. (Not TNotifyEvent:
// the player's timer already uses that name for its own event type.)
using TFMXNotifyEvent = std::function<void(QObject* Sender)>;

// Base of every button: builds the shapes, tracks the pointer and paints;
// what a click does is left to BtnMouseUp of the derived class.
class _TFMXBtn : public QWidget {
  Q_OBJECT

 public:
  explicit _TFMXBtn(QWidget* AOwner = nullptr);
  ~_TFMXBtn() override;

  bool GetAccent() const { return FAccent; }
  void SetAccent(bool AValue);  // repaints only on a change

  // Reading gives back the text last written. Text that is not valid path
  // data leaves the icon empty.
  QString GetSvgData() const { return FSvgData; }
  void SetSvgData(const QString& AValue);  // parses only when the text differs

  // Fixes the widget to this size (layouts keep it) and lays the shapes out.
  void SetSize(float AWidth, float AHeight);

  TFMXMouseMode GetFMXMouseMode() const { return FMXMouseMode; }

  // What is painted, for callers that check the drawing.
  const TFMXRectShape& GetRect() const { return FRect; }
  const TFMXPathShape& GetPath() const { return FPath; }  // icon as parsed
  qreal GetIconMargin() const { return FIconMargin; }
  QRectF GetIconArea() const;      // the rectangle inside the icon margins
  QPainterPath GetIconOutline() const;  // the icon as painted, stretched onto GetIconArea

 protected:
  // Called on every mouse-button release, with this button as sender and the
  // release point in the button's own coordinates.
  virtual void BtnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                          float X, float Y) = 0;

  // The common start of every BtnMouseUp: clears isDown, shows the new state,
  // and tells whether the release point makes the release a click.
  bool BtnReleased(float X, float Y);

  void UpdateLayout(float AWidth, float AHeight);
  void UpdateColor();
  void UpdateMouseMode();

  void paintEvent(QPaintEvent* AEvent) override;
  void resizeEvent(QResizeEvent* AEvent) override;
  void mousePressEvent(QMouseEvent* AEvent) override;
  void mouseReleaseEvent(QMouseEvent* AEvent) override;
  void enterEvent(QEnterEvent* AEvent) override;
  void leaveEvent(QEvent* AEvent) override;

  bool isHover = false;
  bool isDown = false;
  TFMXMouseMode FMXMouseMode = TFMXMouseMode::isNone;

 private:
  bool FAccent = false;
  TFMXRectShape FRect;
  TFMXPathShape FPath;
  QString FSvgData;
  qreal FIconMargin = 0;
};

// The plain icon button of the main window: reports each click through OnExecute.
class TFMXBtn : public _TFMXBtn {
  Q_OBJECT

 public:
  explicit TFMXBtn(QWidget* AOwner = nullptr);

  const TFMXNotifyEvent& GetOnExecute() const { return FExecute; }
  void SetOnExecute(TFMXNotifyEvent AValue) { FExecute = std::move(AValue); }

 protected:
  void BtnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X,
                  float Y) override;

 private:
  TFMXNotifyEvent FExecute;
};
