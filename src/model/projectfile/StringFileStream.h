#pragma once
// The stream through which the project file passes, with typed reads and writes. It works on
// bytes in memory: a reading stream walks a byte buffer that the caller owns, a writing stream
// fills a buffer of its own and hands it over, whole or a piece at a time. The file layer around
// it reads a whole file at once and replaces files atomically.
//
// Numbers are little-endian whatever the machine. A read past the end raises EStreamError
// "Stream-Read-Fehler"; a write that cannot be done raises EStreamError "Stream-Write-Fehler".
// Writing to a reading stream and reading from a writing stream count as such failures.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace terravel {

class TStringFileStream {
 public:
  // Largest text a string field can hold: its length is stored in 16 bits.
  static constexpr std::size_t kMaxStringLength = 0xFFFF;
  // Largest text of a short string field.
  static constexpr std::size_t kMaxShortStringLength = 255;

  // A writing stream.
  TStringFileStream() = default;
  // A reading stream over the bytes, which must outlive it.
  explicit TStringFileStream(std::string_view source) : source_(source), reading_(true) {}
  TStringFileStream(const TStringFileStream&) = delete;
  TStringFileStream& operator=(const TStringFileStream&) = delete;

  // Reading: the position and the size of the bytes. Writing: both are the bytes written.
  std::size_t Position() const { return position_ + written_; }
  std::size_t Size() const { return source_.size() + written_; }
  std::size_t Remaining() const { return Size() - Position(); }
  bool AtEnd() const { return Position() == Size(); }

  // Writing: room for this many bytes in all, so that no write has to grow the buffer.
  void Reserve(std::size_t size);
  // Writing: the bytes written so far, valid until the next write.
  std::string_view Bytes() const { return std::string_view(buffer_.data(), written_); }
  // Writing: hands the bytes over and starts afresh.
  std::string TakeBytes();
  // Writing: forgets the bytes written so far (once they went on elsewhere) and keeps the room.
  void DropBytes() { written_ = 0; }

  // Raw bytes.
  void ReadBuffer(void* buffer, std::size_t count) { Copy(buffer, Take(count), count); }
  void WriteBuffer(const void* buffer, std::size_t count) { Copy(Room(count), buffer, count); }
  void Skip(std::size_t count) { Take(count); }

  // A 16-bit byte count, then that many bytes. (Taking them in pieces of at most 255 bytes, as a
  // file stream does, makes no difference in memory: the same text, and the same read error when
  // the count runs past the end.)
  std::string ReadString() {
    std::string text;
    ReadString(text);
    return text;
  }
  void ReadString(std::string& into) {
    const std::size_t count = ReadWord();
    into.assign(Take(count), count);
  }
  // Texts longer than kMaxStringLength cannot be written.
  void WriteString(std::string_view text) {
    if (text.size() > kMaxStringLength) FailWrite();
    char* at = Room(2 + text.size());
    at[0] = static_cast<char>(text.size() & 0xFF);
    at[1] = static_cast<char>(text.size() >> 8);
    Copy(at + 2, text.data(), text.size());
  }
  // A 16-bit count of at most 255 (more is a read error), then the bytes; the text is cut to
  // maxLength.
  std::string ReadShortString(std::size_t maxLength = kMaxShortStringLength);
  // Writes at most the first 255 bytes of the text, as a short string holds no more.
  void WriteShortString(std::string_view text);

  std::uint8_t ReadByte() { return static_cast<std::uint8_t>(*Take(1)); }
  void WriteByte(std::uint8_t value) { *Room(1) = static_cast<char>(value); }
  std::int32_t ReadInteger() { return static_cast<std::int32_t>(Load32(Take(4))); }
  void WriteInteger(std::int32_t value) { Store32(Room(4), static_cast<std::uint32_t>(value)); }
  float ReadReal48();
  void WriteReal48(float value);
  double ReadDouble();
  void WriteDouble(double value);
  // A raw single-precision float.
  float ReadFloat() { return std::bit_cast<float>(Load32(Take(4))); }
  void WriteFloat(float value) { Store32(Room(4), std::bit_cast<std::uint32_t>(value)); }

 private:
  // The next count bytes to read, which are then taken; a read error when fewer remain. A
  // writing stream has nothing to read.
  const char* Take(std::size_t count) {
    if (count > source_.size() - position_) FailRead();
    const char* at = source_.data() + position_;
    position_ += count;
    return at;
  }
  // Room for the next count bytes to write. A reading stream's buffer stays empty, so it always
  // takes the slow path, which refuses.
  char* Room(std::size_t count) {
    if (count > buffer_.size() - written_) Grow(count);
    char* at = buffer_.data() + written_;
    written_ += count;
    return at;
  }
  [[noreturn]] static void FailRead();
  [[noreturn]] static void FailWrite();
  void Grow(std::size_t count);

  static void Copy(void* to, const void* from, std::size_t count) {
    if (count > 0) std::memcpy(to, from, count);
  }
  static std::uint32_t Load32(const char* at) {
    std::uint32_t value;
    std::memcpy(&value, at, 4);
    return std::endian::native == std::endian::little ? value : Swap32(value);
  }
  static void Store32(char* at, std::uint32_t value) {
    if constexpr (std::endian::native != std::endian::little) value = Swap32(value);
    std::memcpy(at, &value, 4);
  }
  static constexpr std::uint32_t Swap32(std::uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
  }
  std::uint16_t ReadWord() {
    const auto* at = reinterpret_cast<const unsigned char*>(Take(2));
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
  }
  void WriteWord(std::uint16_t value) {
    char* at = Room(2);
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>(value >> 8);
  }

  // Reading.
  std::string_view source_;
  std::size_t position_ = 0;
  // Writing: the buffer is grown ahead; only its first written_ bytes are the stream's.
  std::string buffer_;
  std::size_t written_ = 0;
  bool reading_ = false;
};

}  // namespace terravel
