// The life of a project in the main window: new, open, save, the title and the save question.
#include <QFile>

#include "app/MainWindow.h"
#include "app/UserDialogs.h"
#include "model/core/Errors.h"
#include "model/project/NewProject.h"
#include "model/project/OpenProject.h"
#include "model/projectfile/ProjectFile.h"

#include "render/FilePaths.h"

namespace terravel {

namespace {

// The file name enters the recent files whether or not reading it succeeded.
template <class Read>
void ReadThenRemember(TMainForm& main, Read read) {
  const auto remember = [&main] {
    main.Settings().AddRecentFile(main.FileName());
    main.Settings().SaveSettings();
  };
  try {
    read();
  } catch (const ENotAProjectError&) {
    // A Save must not overwrite a file that was never a project: the empty project is untitled.
    remember();
    main.SetFileName(QString());
    throw;
  } catch (...) {
    remember();
    throw;
  }
  remember();
}

}  // namespace

void TMainForm::SetFileName(const QString& path) {
  if (path == fileName_) return;
  fileName_ = path;
  UpdateTitle();
}

void TMainForm::UpdateTitle() {
  const QString mark = modified_ ? QStringLiteral("*") : QString();
  const QString title = fileName_.isEmpty() ? QStringLiteral("untitled.tvp%1 - Terravel").arg(mark)
                                            : QStringLiteral("%1%2 - Terravel").arg(fileName_, mark);
  // The caption is also the task-bar text. Qt's application display name is left alone: on X11
  // and Wayland Qt appends it to the caption of every other window ("Terravel Log — ...").
  setWindowTitle(title);
}

bool TMainForm::ConfirmDiscard() {
  if (!modified_) return false;
  // The box belongs to the window that asked (the welcome window, the import chooser, ...).
  const QMessageBox::StandardButton answer = UserDialogs().Message(
      AskingWindow(this), QStringLiteral("Information"),
      QStringLiteral("The current project has been modified.\rDo you want to save the changes?"),
      QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes) {
    saveAborted_ = false;
    Menu_Project_SaveClick();
    if (saveAborted_) return true;
  } else if (answer != QMessageBox::No) {
    return true;
  }
  editor_.MarkSaved();
  return false;
}

void TMainForm::NewProject(bool withTriangle) {
  terravel::NewProject(editor_, withTriangle);
  SetFileName(QString());
  UpdateTitle();
}

void TMainForm::NewMesh(int n) {
  if (ConfirmDiscard()) return;
  terravel::NewMesh(editor_, n);
  SetFileName(QString());
  UpdateTitle();
}

void TMainForm::OpenProjectFile(const QString& path) {
  SetFileName(path);
  ReadThenRemember(*this, [&] { ReadProject(editor_, FilePath(path)); });
}

void TMainForm::Menu_Project_New_TriangleClick() {
  if (ConfirmDiscard()) return;
  NewProject(true);
}

void TMainForm::Menu_Project_New_BlankClick() {
  if (ConfirmDiscard()) return;
  NewProject(false);
}

void TMainForm::Menu_Project_OpenClick() {
  const QString path = UserDialogs().OpenProjectName(this);
  if (!path.isEmpty()) OpenProjectPath(path);
}

void TMainForm::OpenProjectPath(const QString& path) {
  if (ConfirmDiscard()) return;
  // The title names the file before it is read, so a failure leaves it named.
  SetFileName(path);
  ReadThenRemember(*this, [&] { terravel::OpenProject(editor_, FilePath(path)); });
}

void TMainForm::Menu_Project_SaveClick() {
  if (fileName_.isEmpty()) {
    Menu_Project_SaveAsClick();
    return;
  }
  LogLine(QStringLiteral("LOG: File Save Project [%1]").arg(fileName_));
  SaveProjectFile(editor_, FilePath(fileName_));
  editor_.MarkSaved();
}

void TMainForm::Menu_Project_SaveAsClick() {
  const QString path = UserDialogs().SaveProjectName(this, fileName_);
  if (path.isEmpty()) {
    saveAborted_ = true;
    return;
  }
  SetFileName(path);
  LogLine(QStringLiteral("LOG: File Save Project [%1]").arg(path));
  SaveProjectFile(editor_, FilePath(path));
  editor_.MarkSaved();
}

}  // namespace terravel
