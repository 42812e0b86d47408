#pragma once
// Every message box and project file dialog of the editor goes through one replaceable set of
// functions, so that tests can answer them without a modal loop.
#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace terravel {

struct TUserDialogs {
  // A modal message box; returns the button pressed (Cancel, or Ok for a one-button box, when it
  // was closed otherwise). "\r" in the text is a line break.
  std::function<QMessageBox::StandardButton(QWidget* parent, const QString& caption, const QString& text,
                                            QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)>
      Message;
  // The "Open Project" dialog; the chosen path, or empty when cancelled.
  std::function<QString(QWidget* parent)> OpenProjectName;
  // The "Save Project As" dialog, starting with the current name; the chosen path, or empty.
  std::function<QString(QWidget* parent, const QString& currentName)> SaveProjectName;
  // The "Import" (an existing file) or "Export" (asks before replacing) dialog of the format
  // chooser. The filter is "Name|pattern", as many pairs as wanted; the extension is added to a
  // name typed without one. The chosen path, or empty when cancelled.
  std::function<QString(QWidget* parent, bool forImport, const QString& filter, const QString& extension)>
      ExchangeFileName;
  // The "Browse for Background Image" dialog (an existing file), starting with the name given.
  // The filter is "Name|pattern" pairs. The chosen path, or empty when cancelled.
  std::function<QString(QWidget* parent, const QString& startName, const QString& filter)> BackgroundFileName;
};

// A "Name|pattern|Name|pattern" filter as Qt's file dialogs take it ("Name (pattern);;...").
QString QtFileFilter(const QString& filter);

// The functions in use; they start as the real dialogs.
TUserDialogs& UserDialogs();
// The real dialogs.
TUserDialogs StandardUserDialogs();

// The window a question belongs to, so that its box stays above it: the modal window that is
// open, else the active window, else the fallback.
QWidget* AskingWindow(QWidget* fallback);

// The folder the Import and Export dialogs open in (the project's, or the last export's); empty:
// the working folder.
QString& ExchangeFolder();

// "Information" with the information icon and OK.
void ShowInformation(QWidget* parent, const QString& text);
// "Not yet implemented: ..." naming the feature.
void NotYetImplemented(QWidget* parent, const QString& feature);

}  // namespace terravel
