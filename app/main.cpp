// Program entry: the splash for a moment, then the main window, the About
// window and the setup dialog, then the event loop.
#include "about/uFMXFrmAbout.h"
#include "app/uFrmMain.h"
#include "app/uFrmSplash.h"
#include "app/uQuennelApp.h"
#include "settings/uDlgSetup.h"
#include "settings/uFMXUtils.h"

#include <QEventLoop>
#include <QTimer>

#include <memory>

int main(int argc, char** argv) {
  TQuennelApp app(argc, argv);
  // Qt has taken its own options out of argv; what is left is ours.
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

  try {
    InitTheme();

    {
      TSplashFrm splash;
      splash.show();
      QCoreApplication::processEvents();
      // The splash stays 1500 ms; it may repaint, but nothing else happens.
      QEventLoop pause;
      QTimer::singleShot(1500, &pause, &QEventLoop::quit);
      pause.exec(QEventLoop::ExcludeUserInputEvents);
      splash.close();
    }

    // Created only now that the splash is gone; the About window and the
    // setup dialog follow, so they start in the colours the window read.
    TFrmMain frmMain(args);
    TFMXFrmAbout about(&frmMain);
    FMXFrmAbout = &about;
    TDlgSetup setup(&frmMain);
    DlgSetup = &setup;

    frmMain.show();
    const int rc = app.exec();
    DlgSetup = nullptr;
    FMXFrmAbout = nullptr;
    return rc;
  } catch (...) {
    // Start-up failed before the event loop could report it.
    ReportCurrentException();
    return 1;
  }
}
