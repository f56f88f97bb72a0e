// The gear and information buttons: the setup dialog and the About window,
// both created once at startup after this window.
#include "app/uFrmMain.h"

#include "about/uFMXFrmAbout.h"
#include "settings/uDlgSetup.h"

void TFrmMain::BtGearExecute() {
  // A new font size must reach the panel at once.
  if (DlgSetup && DlgSetup->Execute()) FitSrtFont();
}

void TFrmMain::BtInfoExecute() {
  if (FMXFrmAbout) FMXFrmAbout->Execute();
}
