#pragma once
// Opening a project file into the document. The main window adds what belongs to it (the save
// question, the file name and the title, the recent files, the error box) around these.
#include <string>

namespace terravel {

class TEditor;

// The Open command's part: clears the modified flag and the history, logs "LOG: File Open Project
// [path]", clears the document and reads the file with ReadProject.
void OpenProject(TEditor& editor, const std::string& path);

// Reads the file into the document, which the caller has cleared, then publishes the rebuilt
// document whether or not the reading succeeded: what was read before a failure stays and is
// shown. The reading error is then passed on.
void ReadProject(TEditor& editor, const std::string& path);

}  // namespace terravel
