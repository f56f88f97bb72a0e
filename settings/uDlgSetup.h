#pragma once
// The setup dialog behind the gear button: theme choice and subtitle font
// size. Created once at startup, after the main window, and shown modally.

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

class TDlgSetup : public QDialog {
  Q_OBJECT

 public:
  explicit TDlgSetup(QWidget* parent = nullptr);

  // Shows the dialog modally, centred on its parent. On OK the choices go
  // into DarkMode and FontSize and the settings file is written (also when
  // nothing changed); returns true then. Cancel or the close button change
  // and write nothing and return false. A failed write throws, as
  // SaveSettings does, with the variables already updated.
  bool Execute();

  // Colours and language; runs once, from the constructor.
  void FormCreate();
  // DarkMode / FontSize into the combo boxes, and back.
  void SetValues();
  void GetValues();
  // Box, arrow and drop-down list colours of one combo box from the theme.
  void cbDarkModeApplyStyleLookup(QComboBox* box);

  // The restart notice in both languages.
  static const QString NoticeEN;
  static const QString NoticeJA;

  QLabel* Label1 = nullptr;
  QComboBox* cbDarkMode = nullptr;
  QLabel* Label2 = nullptr;  // restart notice
  QLabel* Label3 = nullptr;
  QComboBox* cbFontSize = nullptr;
  QPushButton* btOK = nullptr;
  QPushButton* btCancel = nullptr;
};

// The one dialog of the program; whoever creates it at startup sets this.
extern TDlgSetup* DlgSetup;
