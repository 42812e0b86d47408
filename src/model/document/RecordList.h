#pragma once
// The ordered, indexed record list behind the node list and the polygon list. Records are held
// by value; a detached record is handed to the caller, who may put it back with Insert. The list
// keeps the count of its selected records, so nobody else has to.
#include <cstddef>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "model/core/Errors.h"
#include "model/document/NameIndex.h"

namespace terravel {

// The Selected flag of a record in a list is written only here (and by loading code before the
// record enters), so the count always matches the flags. The windows hear of the selection from
// the change set of the step that changed it.
template <typename Record>
class TRecordList {
 public:
  TRecordList(TNameIndex& names, std::string_view namePattern) : names_(names), pattern_(namePattern) {}
  TRecordList(const TRecordList&) = delete;
  TRecordList& operator=(const TRecordList&) = delete;

  int Count() const { return static_cast<int>(records_.size()); }
  bool Empty() const { return records_.empty(); }

  // Records with the Selected flag set.
  int SelectedCount() const { return selected_; }

  // Sets one record's flag; nothing happens when the flag is already so.
  // An index out of range is an internal error (Buffers).
  void SetSelected(int index, bool selected) {
    Require(InRange(index), modules::Buffers, "selection position out of range");
    Flag(records_[static_cast<std::size_t>(index)], selected);
  }

  // Sets every record's flag to selectedAt(index, record), in ascending index order.
  template <typename SelectedAt>
  void AssignSelected(SelectedAt&& selectedAt) {
    for (std::size_t i = 0; i < records_.size(); ++i) {
      Record& record = records_[i];
      Flag(record, static_cast<bool>(selectedAt(static_cast<int>(i), std::as_const(record))));
    }
  }
  void SetAllSelected(bool selected) {
    AssignSelected([selected](int, const Record&) { return selected; });
  }

  // The record at the index, or nullptr when the index is negative or not below Count.
  const Record* At(int index) const { return InRange(index) ? &records_[index] : nullptr; }
  Record* At(int index) { return InRange(index) ? &records_[index] : nullptr; }
  const Record& operator[](int index) const { return records_[static_cast<std::size_t>(index)]; }
  Record& operator[](int index) { return records_[static_cast<std::size_t>(index)]; }

  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }
  auto begin() { return records_.begin(); }
  auto end() { return records_.end(); }

  // Takes the record over; an empty name becomes the first free automatic name. -1 when out of memory.
  int Add(Record&& record) {
    try {
      if (record.Name.empty()) record.Name = names_.UniqueName(pattern_);
      records_.push_back(std::move(record));
    } catch (const std::bad_alloc&) {
      return -1;
    } catch (const std::length_error&) {
      return -1;
    }
    names_.Add(records_.back().Name);
    if (records_.back().Selected) ++selected_;
    return Count() - 1;
  }

  // Puts a detached record back at the index (0..Count), moving later records up.
  void Insert(int index, Record record) {
    Require(index >= 0 && index <= Count(), modules::Buffers, "insert position out of range");
    names_.Add(record.Name);
    const bool selected = record.Selected;
    records_.insert(records_.begin() + index, std::move(record));
    if (selected) ++selected_;
  }

  // Removes the record at the index and hands it over.
  Record Detach(int index) {
    Require(InRange(index), modules::Buffers, "detach position out of range");
    Record record = std::move(records_[static_cast<std::size_t>(index)]);
    records_.erase(records_.begin() + index);
    names_.Remove(record.Name);
    if (record.Selected) --selected_;
    return record;
  }

  // Removes the records at the given ascending, distinct indices in one pass and hands them
  // over in the same order.
  std::vector<Record> DetachMany(const std::vector<int>& ascending) {
    std::vector<Record> taken;
    taken.reserve(ascending.size());
    std::size_t next = 0, write = 0;
    for (std::size_t read = 0; read < records_.size(); ++read) {
      if (next < ascending.size() && ascending[next] == static_cast<int>(read)) {
        names_.Remove(records_[read].Name);
        if (records_[read].Selected) --selected_;
        taken.push_back(std::move(records_[read]));
        ++next;
      } else {
        if (write != read) records_[write] = std::move(records_[read]);
        ++write;
      }
    }
    Require(next == ascending.size(), modules::Buffers, "detach positions out of range or unordered");
    records_.resize(write);
    return taken;
  }

  // The reverse of DetachMany: the records go back so that they stand at the given ascending
  // indices of the resulting list.
  void InsertMany(const std::vector<int>& ascending, std::vector<Record> records) {
    Require(ascending.size() == records.size(), modules::Buffers, "insert lists differ in length");
    const std::size_t total = records_.size() + records.size();
    std::vector<Record> merged;
    merged.reserve(total);
    std::size_t next = 0, old = 0;
    int added = 0;
    for (std::size_t at = 0; at < total; ++at) {
      if (next < ascending.size() && ascending[next] == static_cast<int>(at)) {
        names_.Add(records[next].Name);
        if (records[next].Selected) ++added;
        merged.push_back(std::move(records[next++]));
      } else {
        Require(old < records_.size(), modules::Buffers, "insert positions out of range or unordered");
        merged.push_back(std::move(records_[old++]));
      }
    }
    records_ = std::move(merged);
    selected_ += added;
  }

  void SetName(int index, std::string name) {
    Require(InRange(index), modules::Buffers, "rename position out of range");
    Record& record = records_[static_cast<std::size_t>(index)];
    names_.Remove(record.Name);
    record.Name = std::move(name);
    names_.Add(record.Name);
  }

  void Clear() {
    for (const Record& record : records_) names_.Remove(record.Name);
    records_.clear();
    selected_ = 0;
  }

  // Drops every record without updating the name index: only for a caller that empties the
  // shared index itself (clearing the whole document).
  void ClearLeavingIndex() {
    records_.clear();
    selected_ = 0;
  }

  void Reserve(std::size_t count) { records_.reserve(count); }

 private:
  bool InRange(int index) const { return index >= 0 && static_cast<std::size_t>(index) < records_.size(); }

  void Flag(Record& record, bool selected) {
    if (record.Selected == selected) return;
    record.Selected = selected;
    selected_ += selected ? 1 : -1;
  }

  TNameIndex& names_;
  std::string_view pattern_;
  std::vector<Record> records_;
  int selected_ = 0;
};

}  // namespace terravel
