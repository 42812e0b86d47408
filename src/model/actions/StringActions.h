#pragma once
// Renaming and regrouping the selected nodes or polygons, and retexturing the selected polygons.
// One action sets one text field of every selected record and keeps each record's old text.
#include <cstdint>
#include <string>
#include <vector>

#include "model/history/Action.h"

namespace terravel {

enum class TStringField { Name, Group, Texture };

// One changed record: its index and the text it had before.
struct TStringEntry {
  std::int32_t Index = 0;
  std::string Old;
};

// Works on whichever list the subclass names; the subclass also knows how a field is written
// (names go through the list so that its name index stays right).
class TSetStringAction : public TAction {
 public:
  std::size_t CapturedBytes() const override;

  // modified, redraw, properties; a group change also rebuilds the group filter and the object
  // list, after the undo commands.
  void Changes(TChangeSet& changes) const override;

 protected:
  TSetStringAction(TEditor& editor, std::string description, TStringField field, std::string text);
  bool DoExecute() override;
  void DoUndo() override;

  TStringField Field() const { return field_; }
  virtual int RecordCount() const = 0;
  virtual bool IsSelected(int index) const = 0;
  // Writes the text into the field of the record at the index and returns the text it replaced.
  virtual std::string Exchange(int index, std::string text) = 0;

 private:
  std::vector<TStringEntry> entries_;
  TStringField field_;
  std::string text_;
};

class TSetNodeStringAction : public TSetStringAction {
 protected:
  using TSetStringAction::TSetStringAction;
  int RecordCount() const override;
  bool IsSelected(int index) const override;
  std::string Exchange(int index, std::string text) override;
};

// "Set Node Name to %s"
class TSetNodeNameAction : public TSetNodeStringAction {
 public:
  TSetNodeNameAction(TEditor& editor, const std::string& name);
};

// "Set Node Group to %s"
class TSetNodeGroupAction : public TSetNodeStringAction {
 public:
  TSetNodeGroupAction(TEditor& editor, const std::string& group);
};

class TSetPolyStringAction : public TSetStringAction {
 protected:
  using TSetStringAction::TSetStringAction;
  int RecordCount() const override;
  bool IsSelected(int index) const override;
  std::string Exchange(int index, std::string text) override;
};

// "Set Polygon Name to %s"
class TSetPolyNameAction : public TSetPolyStringAction {
 public:
  TSetPolyNameAction(TEditor& editor, const std::string& name);
};

// "Set Polygon Group to %s"
class TSetPolyGroupAction : public TSetPolyStringAction {
 public:
  TSetPolyGroupAction(TEditor& editor, const std::string& group);
};

// "Set Polygon Texture to %s", with "(undefined)" for the empty texture.
class TSetPolyTextureAction : public TSetPolyStringAction {
 public:
  TSetPolyTextureAction(TEditor& editor, const std::string& texture);
};

}  // namespace terravel
