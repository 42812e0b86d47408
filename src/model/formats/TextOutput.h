#pragma once
// Where an exporter's text goes: into one string, or into an atomically replaced file. Either way
// the text is composed in a working buffer of a megabyte that stays in the cache and is passed on
// when full, so a large file export never holds its whole text at once. Writers ask for room for
// a record, write it through a pointer and say where it ends: no size check and no library call
// for every few bytes.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "model/core/FileIO.h"

namespace terravel {

class TTextOutput {
 public:
  // The whole text in one string, reserved at the expected size.
  explicit TTextOutput(std::size_t expectedSize) {
    whole_.reserve(expectedSize);
    buffer_.resize(kPiece);
  }
  // The text goes to the file; Finish writes the rest and puts the file in place.
  explicit TTextOutput(TAtomicFile& file) : file_(&file) { buffer_.resize(kPiece); }

  // Where to write at least `size` more bytes.
  char* Room(std::size_t size) {
    if (buffer_.size() - used_ < size) MakeRoom(size);
    return buffer_.data() + used_;
  }
  // The bytes up to `end` (a pointer from Room, moved on) are written.
  void Wrote(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }

  void Append(std::string_view piece) { Wrote(Put(Room(piece.size()), piece)); }

  // The whole text, or (for a file) the file committed and an empty text.
  std::string Finish() {
    PassOn();
    if (file_ == nullptr) return std::move(whole_);
    file_->Commit();
    return {};
  }

  static char* Put(char* at, std::string_view piece) {
    std::memcpy(at, piece.data(), piece.size());
    return at + piece.size();
  }

 private:
  static constexpr std::size_t kPiece = std::size_t{1} << 20;

  void PassOn() {
    const std::string_view piece(buffer_.data(), used_);
    if (file_ != nullptr) {
      file_->Write(piece);
    } else {
      whole_ += piece;
    }
    used_ = 0;
  }
  void MakeRoom(std::size_t size) {
    PassOn();
    if (buffer_.size() < size) buffer_.resize(size);
  }

  TAtomicFile* file_ = nullptr;
  std::string whole_;
  std::string buffer_;  // sized to its room; the first used_ bytes wait to be passed on
  std::size_t used_ = 0;
};

}  // namespace terravel
