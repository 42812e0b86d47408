#pragma once
// Shared by the app tests: answers for the message boxes and file dialogs, a clean settings
// store (never the user's own), and a main window that starts without the welcome window.
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "app/AppWindows.h"
#include "app/UserDialogs.h"

namespace terravel::test {

struct TShownMessage {
  QString Caption;
  QString Text;
  QMessageBox::Icon Icon;
  QMessageBox::StandardButtons Buttons;
  QWidget* Parent = nullptr;  // the window the box belongs to
};

// Replaces the dialogs while it lives: message boxes are recorded and answered from a queue
// (OK, or Cancel for a box without OK, when it is empty); the file dialogs return the names given.
class TDialogAnswers {
 public:
  TDialogAnswers();
  ~TDialogAnswers();
  TDialogAnswers(const TDialogAnswers&) = delete;
  TDialogAnswers& operator=(const TDialogAnswers&) = delete;

  std::deque<QMessageBox::StandardButton> Answers;
  QString OpenName;  // empty: the open dialog is cancelled
  QString SaveName;  // empty: the save dialog is cancelled
  std::vector<TShownMessage> Messages;
  int SaveDialogs = 0;
  QString SaveDialogStart;  // the name the last save dialog started with
  // The import/export file dialog: the name it returns (empty: cancelled) and what it was given.
  struct TExchangeRequest {
    bool ForImport;
    QString Filter;
    QString Extension;
  };
  QString ExchangeName;
  std::vector<TExchangeRequest> ExchangeRequests;

 private:
  TUserDialogs saved_;
};

// Empties the settings store of the test run.
void ClearSettingsStore();
// Writes the welcome switch into the store (the next LoadSettings reads it).
void StoreShowWelcome(bool show);

// All windows of the program, as at start-up, with the welcome window switched off; shown (so
// that the start-up project is there) unless told otherwise.
std::unique_ptr<TAppWindows> StartWindows(const QString& argument = QString(), bool show = true);

// Once a modal window is open, hands it to `act`, which must close it so that the modal loop the
// caller starts next ends. Stops with `context`.
void WhenModalShown(QObject* context, std::function<void(QWidget*)> act);

}  // namespace terravel::test
