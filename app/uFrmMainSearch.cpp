// The search row: starting a search, stepping through its matches, the
// regular-expression toggle and the look of the search box.
#include "app/uFrmMain.h"

#include "controls/uFMXBtn.h"
#include "controls/uFMXBtnMedia.h"
#include "player/uFMXMfPlayerClass.h"
#include "settings/uFMXUtils.h"

#include <QColor>
#include <QLineEdit>

void TFrmMain::EdSrtKeyUp(int AKey) {
  if (AKey == Qt::Key_Return || AKey == Qt::Key_Enter) FindMatches(EdSrt->text());
}

void TFrmMain::BtSearchExecute() { FindMatches(EdSrt->text()); }

void TFrmMain::FindMatches(const QString& AText) {
  SearchSrtList(SrtLists, AText);
  if (!SrtMatches.empty()) JumpToEntry(SrtMatches[static_cast<size_t>(SrtMatchIndex)]);
}

void TFrmMain::PrevMatch() {
  const auto count = static_cast<int32_t>(SrtMatches.size());
  if (count < 2) return;
  if (--SrtMatchIndex < 0 || SrtMatchIndex >= count) SrtMatchIndex = count - 1;
  JumpToEntry(SrtMatches[static_cast<size_t>(SrtMatchIndex)]);
}

void TFrmMain::NextMatch() {
  const auto count = static_cast<int32_t>(SrtMatches.size());
  if (count < 2) return;
  if (++SrtMatchIndex >= count || SrtMatchIndex < 0) SrtMatchIndex = 0;
  JumpToEntry(SrtMatches[static_cast<size_t>(SrtMatchIndex)]);
}

void TFrmMain::BtSrtBackExecute() { PrevMatch(); }
void TFrmMain::BtSrtNextExecute() { NextMatch(); }

void TFrmMain::JumpToEntry(int32_t AIndex) {
  if (!MfPlayer || AIndex < 0 || static_cast<size_t>(AIndex) >= SrtLists.size()) return;
  MfPlayer->SetNewPosition(MsToHns(SrtLists[static_cast<size_t>(AIndex)].Time0));
}

void TFrmMain::BtSrtRegExExecute() {
  BtSrtRegEx->SetAccent(!BtSrtRegEx->GetAccent());
  isRegEx = BtSrtRegEx->GetAccent();
}

void TFrmMain::EdSrtApplyStyleLookup() {
  // A flat box in the theme's colours instead of the platform's edit frame.
  const QColor back = QColor::fromRgba(BackColor1);
  const QColor line = QColor::fromRgba(ForeColor2);
  const QColor text = QColor::fromRgba(ForeColor0);
  EdSrt->setStyleSheet(QStringLiteral("QLineEdit { background: %1; border: 1px solid %2; color: %3;"
                                      " padding: 0 3px; selection-background-color: #7F0078D7; }")
                           .arg(back.name(QColor::HexArgb), line.name(QColor::HexArgb),
                                text.name(QColor::HexArgb)));
}
