#include "app/uQuennelApp.h"

#include "player/uFMXMfPlayerClass.h"

#include <QMessageBox>

#include <exception>

TQuennelApp::TQuennelApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Quennel"));
}

bool TQuennelApp::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportCurrentException();
    return false;
  }
}

void ReportCurrentException() {
  QString text;
  try {
    throw;
  } catch (const ESilentAbort&) {
    return;
  } catch (const std::exception& e) {
    text = QString::fromUtf8(e.what());
  } catch (...) {
    text = QStringLiteral("An unknown error occurred.");
  }
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Quennel"), text,
                        QMessageBox::Close, QMessageBox::Close);
}
