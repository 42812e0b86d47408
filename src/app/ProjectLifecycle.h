#pragma once
// What the tool windows may ask of the main window about the project as a whole: the save
// question, a fresh project and opening a file. The main window implements it, owning the file
// name, the title and the recent files that go with these steps.
#include <QString>

namespace terravel {

class TProjectLifecycle {
 public:
  virtual ~TProjectLifecycle() = default;

  // Asks whether to save a modified project; true when the caller must stop.
  virtual bool ConfirmDiscard() = 0;
  // A fresh project (blank or the single triangle), untitled. Does not ask about changes.
  virtual void NewProject(bool withTriangle) = 0;
  // Reads the file into the (cleared) document; the path enters the recent files either way.
  virtual void OpenProjectFile(const QString& path) = 0;
  // The current project's file, empty while untitled.
  virtual const QString& FileName() const = 0;
};

}  // namespace terravel
