#pragma once
// What an action tells the windows after it was applied or undone. Every action family declares
// its set as data (TAction::Notices); TAction::Notify sends the set in the one order below.
#include <cstdint>
#include <initializer_list>

#include "model/document/Host.h"
#include "model/document/PropertyMode.h"

namespace terravel {

// One notification to the host. The enumerators are the one order in which they are sent; a
// notification that two families send at different places has one enumerator for each place.
enum class TNotice : std::uint8_t {
  UnitField,              // ShowUnitValue: the gradient panel shows the changed value first
  Modified,               // SetModified(true)
  Lists,                  // RefreshLists
  PropertyMode,           // SetPropertyMode with the set's mode
  Properties,             // RefreshProperties, before the picture
  FullRedraw,             // Redraw(true)
  LightRedraw,            // Redraw(false)
  PropertiesAfterRedraw,  // RefreshProperties, after the picture
  UndoRedo,               // RefreshUndoRedo
  ListsAfterUndoRedo,     // RefreshLists, once the Undo and Redo commands show the new state
  Last = ListsAfterUndoRedo
};

// A set of notices with the values that two of them carry: the mode PropertyMode switches to and
// the edit box UnitField rewrites.
class TNotices {
 public:
  constexpr TNotices() = default;
  constexpr TNotices(std::initializer_list<TNotice> notices) {
    for (const TNotice notice : notices) bits_ |= Bit(notice);
  }

  constexpr bool Has(TNotice notice) const { return (bits_ & Bit(notice)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TPropertyMode Mode() const { return mode_; }
  constexpr TUnitField Field() const { return field_; }

  // The same set with one more notice.
  constexpr TNotices With(TNotice notice) const {
    TNotices notices = *this;
    notices.bits_ |= Bit(notice);
    return notices;
  }
  // The same set, switching the properties window to the mode.
  constexpr TNotices WithMode(TPropertyMode mode) const {
    TNotices notices = With(TNotice::PropertyMode);
    notices.mode_ = mode;
    return notices;
  }
  // The same set, first showing the value of the edit box.
  constexpr TNotices WithUnitField(TUnitField field) const {
    TNotices notices = With(TNotice::UnitField);
    notices.field_ = field;
    return notices;
  }

  // Both sets in one; the mode and the edit box of the other set win where it has them.
  constexpr TNotices Plus(const TNotices& other) const {
    TNotices notices = *this;
    notices.bits_ |= other.bits_;
    if (other.Has(TNotice::PropertyMode)) notices.mode_ = other.mode_;
    if (other.Has(TNotice::UnitField)) notices.field_ = other.field_;
    return notices;
  }
  // The same set without one notice.
  constexpr TNotices Without(TNotice notice) const {
    TNotices notices = *this;
    notices.bits_ = static_cast<std::uint16_t>(notices.bits_ & ~Bit(notice));
    return notices;
  }

  friend constexpr bool operator==(const TNotices&, const TNotices&) = default;

 private:
  static constexpr std::uint16_t Bit(TNotice notice) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(notice));
  }

  std::uint16_t bits_ = 0;
  TPropertyMode mode_ = TPropertyMode::pmNone;
  TUnitField field_ = TUnitField::MinZ;
};

// Sends the set to the host in the order of TNotice.
void SendNotices(THost& host, const TNotices& notices);

}  // namespace terravel
