#pragma once
// The picture widgets of the main window: the image area that shows the
// latest video frame scaled to fit, and the two overlays drawn over it.

#include <QImage>
#include <QPainterPath>
#include <QWidget>

// Paints its bitmap scaled to fit, keeping the aspect ratio, centred.
class TImageView : public QWidget {
  Q_OBJECT

 public:
  explicit TImageView(QWidget* parent = nullptr);

  const QImage& Bitmap() const { return FBitmap; }
  void SetBitmap(const QImage& ABitmap);

  // Where the bitmap lands inside the widget (empty without a bitmap).
  QRectF PictureRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage FBitmap;
};

// Centred text over the image that fades in and out; lets the mouse through.
class TOverlayLabel : public QWidget {
  Q_OBJECT
  Q_PROPERTY(qreal opacity READ Opacity WRITE SetOpacity)

 public:
  explicit TOverlayLabel(QWidget* parent = nullptr);

  QString text() const { return FText; }
  void setText(const QString& AText);
  qreal Opacity() const { return FOpacity; }
  void SetOpacity(qreal AValue);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString FText;
  qreal FOpacity = 0;
};

// A filled vector symbol stretched onto the widget, fading in and out;
// lets the mouse through.
class TOverlayPath : public QWidget {
  Q_OBJECT
  Q_PROPERTY(qreal opacity READ Opacity WRITE SetOpacity)

 public:
  explicit TOverlayPath(QWidget* parent = nullptr);

  // Path data in the unit square (M, L, C, Z); malformed text leaves it empty.
  void SetData(const QString& ASvgData);
  QString Data() const { return FData; }
  const QPainterPath& Path() const { return FPath; }
  qreal Opacity() const { return FOpacity; }
  void SetOpacity(qreal AValue);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString FData;
  QPainterPath FPath;
  qreal FOpacity = 0;
};
