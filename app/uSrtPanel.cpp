#include "app/uSrtPanel.h"

TSrtPanel::TSrtPanel(QWidget* parent) : QLabel(parent) {}

void TSrtPanel::setText(const QString& AText) {
  ++FTextAssignments;
  QLabel::setText(AText);
}
