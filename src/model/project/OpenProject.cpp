#include "model/project/OpenProject.h"

#include "model/editor/Editor.h"
#include "model/projectfile/ProjectFile.h"

namespace terravel {

void OpenProject(TEditor& editor, const std::string& path) {
  THost& host = editor.Host();
  editor.MarkSaved();
  editor.History.ClearHistory();
  host.RefreshUndoRedo();
  host.Log("LOG: File Open Project [" + path + "]");
  editor.ClearDocument();
  ReadProject(editor, path);
}

void ReadProject(TEditor& editor, const std::string& path) {
  THost& host = editor.Host();
  const auto show = [&host] {
    host.RefreshLists();
    host.RefreshProperties();
    host.Redraw(true);
  };
  try {
    LoadProjectFile(editor, path);
  } catch (...) {
    show();
    throw;
  }
  show();
}

}  // namespace terravel
