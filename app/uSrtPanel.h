#pragma once
// The one-entry subtitle panel under the image.

#include <QLabel>

class TSrtPanel : public QLabel {
  Q_OBJECT

 public:
  explicit TSrtPanel(QWidget* parent = nullptr);

  // Hides QLabel::setText so every assignment is counted: the window must
  // touch the text only when the entry on screen changes, and tests check that.
  void setText(const QString& AText);
  int TextAssignments() const { return FTextAssignments; }

 private:
  int FTextAssignments = 0;
};
