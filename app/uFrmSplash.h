#pragma once
// The borderless splash window shown while the program starts.

#include <QWidget>

class TImageView;

class TSplashFrm : public QWidget {
  Q_OBJECT

 public:
  explicit TSplashFrm(QWidget* parent = nullptr);

  void FormCreate();

  TImageView* Image1 = nullptr;  // background, fills the window
  TImageView* Image2 = nullptr;  // title, over the background at (0, 64)
};
