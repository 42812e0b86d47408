#include "model/editor/Editor.h"

namespace terravel {

TEditor::TEditor(THost* host) : host_(host != nullptr ? host : &nullHost_) {}

void TEditor::SetHost(THost& host) {
  host_ = &host;
  State.SetHost(host);
  History.SetHost(host);
}

void TEditor::ClearDocument() {
  Polygons.Clear();
  Nodes.Clear();
}

}  // namespace terravel
