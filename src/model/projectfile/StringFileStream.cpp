#include "model/projectfile/StringFileStream.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "model/core/Errors.h"
#include "model/projectfile/Real48.h"

namespace terravel {

void TStringFileStream::FailRead() {
  throw EStreamError(kStreamReadError);
}

void TStringFileStream::FailWrite() {
  throw EStreamError(kStreamWriteError);
}

void TStringFileStream::Grow(std::size_t count) {
  if (reading_) FailWrite();
  try {
    buffer_.resize(std::max({written_ + count, 2 * buffer_.size(), std::size_t{256}}));
  } catch (const std::bad_alloc&) {
    FailWrite();
  } catch (const std::length_error&) {
    FailWrite();
  }
}

void TStringFileStream::Reserve(std::size_t size) {
  if (size > buffer_.size()) Grow(size - written_);
}

std::string TStringFileStream::TakeBytes() {
  buffer_.resize(written_);
  written_ = 0;
  return std::move(buffer_);
}

std::string TStringFileStream::ReadShortString(std::size_t maxLength) {
  const std::size_t count = ReadWord();
  if (count > kMaxShortStringLength) FailRead();
  const char* at = Take(count);
  return std::string(at, std::min(count, maxLength));
}

void TStringFileStream::WriteShortString(std::string_view text) {
  text = text.substr(0, kMaxShortStringLength);
  WriteWord(static_cast<std::uint16_t>(text.size()));
  WriteBuffer(text.data(), text.size());
}

float TStringFileStream::ReadReal48() {
  TReal48 bytes;
  ReadBuffer(bytes.data(), bytes.size());
  return Real48ToFloat(bytes);
}

void TStringFileStream::WriteReal48(float value) {
  const TReal48 bytes = FloatToReal48(value);
  WriteBuffer(bytes.data(), bytes.size());
}

double TStringFileStream::ReadDouble() {
  const char* at = Take(8);
  const std::uint64_t low = Load32(at);
  const std::uint64_t high = Load32(at + 4);
  return std::bit_cast<double>(low | (high << 32));
}

void TStringFileStream::WriteDouble(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  char* at = Room(8);
  Store32(at, static_cast<std::uint32_t>(bits));
  Store32(at + 4, static_cast<std::uint32_t>(bits >> 32));
}

}  // namespace terravel
