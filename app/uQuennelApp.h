#pragma once
// The application object with the program's top-level error handler: an
// exception that reaches the event loop is shown in a modal error box and
// the program goes on; the player's silent abort is dropped without a word.

#include <QApplication>

#include <functional>

class TQuennelApp : public QApplication {
  Q_OBJECT

 public:
  TQuennelApp(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the message of the exception being handled in a modal error box,
// unless it is the silent abort. Call only from inside a catch block.
void ReportCurrentException();
