#include "model/project/OpenProject.h"

#include "model/editor/Editor.h"
#include "model/projectfile/ProjectFile.h"

namespace terravel {

void OpenProject(TEditor& editor, const std::string& path) {
  editor.MarkSaved();
  editor.History.ClearHistory();
  editor.Host().Log("LOG: File Open Project [" + path + "]");
  editor.ClearDocument();
  ReadProject(editor, path);
}

void ReadProject(TEditor& editor, const std::string& path) {
  // What entered before a failure is shown too.
  const auto show = [&editor] { editor.History.Publish(TChangeSet::Rebuilt()); };
  try {
    LoadProjectFile(editor, path);
  } catch (...) {
    show();
    throw;
  }
  show();
}

}  // namespace terravel
