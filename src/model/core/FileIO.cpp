#include "model/core/FileIO.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <random>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "model/core/Errors.h"

namespace terravel {

namespace {

enum class TReplaceResult { Done, WriteFailed, RenameFailed };

// The one place that knows the operating system. The finished file is flushed to the disk,
// closed, and renamed over the target in one step, so that a crash leaves either the old file or
// the new one, never a part. The file is closed whatever happens; after a failure the temporary
// file is still there.
TReplaceResult ReplaceWithFile(std::FILE* file, const std::string& tempPath, const std::string& target) {
#ifdef _WIN32
  const bool flushed = std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
  if (std::fclose(file) != 0 || !flushed) return TReplaceResult::WriteFailed;
  // Paths are in the system code page, as everywhere in the program.
  const auto wide = [](const std::string& path) {
    std::wstring text(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, text.data(), static_cast<int>(text.size()));
    return text;
  };
  const bool moved = MoveFileExW(wide(tempPath).c_str(), wide(target).c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  const bool flushed = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  if (std::fclose(file) != 0 || !flushed) return TReplaceResult::WriteFailed;
  const bool moved = std::rename(tempPath.c_str(), target.c_str()) == 0;
#endif
  return moved ? TReplaceResult::Done : TReplaceResult::RenameFailed;
}

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  std::error_code unknown;
  // A folder opens as a file on some systems and then fails to read.
  if (std::filesystem::is_directory(path, unknown)) throw EFileError(CannotOpenText(path));
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw EFileError(CannotOpenText(path));
  // Straight into the result when the size is known; then whatever the file grew by meanwhile.
  std::string bytes;
  const std::uintmax_t size = std::filesystem::file_size(path, unknown);
  if (!unknown && size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  }
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) throw EStreamError(kStreamReadError);
  return bytes;
}

TAtomicFile::TAtomicFile(std::string path) : path_(std::move(path)) {
  // "x" refuses a name that exists, so a file of another program is never shared or replaced.
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".tmp-%06x", static_cast<unsigned>(random() & 0xFFFFFFu));
    tempPath_ = path_ + suffix;
    file_ = std::fopen(tempPath_.c_str(), "wbx");
    if (file_ == nullptr && errno != EEXIST) break;
  }
  if (file_ == nullptr) throw EFileError(CannotCreateText(path_));
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
    std::remove(tempPath_.c_str());
  }
}

void TAtomicFile::Write(std::string_view bytes) {
  if (file_ == nullptr) throw EStreamError(kStreamWriteError);
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    throw EStreamError(kStreamWriteError);
  }
}

void TAtomicFile::Commit() {
  if (file_ == nullptr) throw EStreamError(kStreamWriteError);
  // A replaced file keeps its permissions; a new one has the usual ones the file was created with.
  std::error_code unknown;
  const std::filesystem::file_status old = std::filesystem::status(path_, unknown);
  if (std::filesystem::exists(old)) std::filesystem::permissions(tempPath_, old.permissions(), unknown);
  const TReplaceResult result = ReplaceWithFile(std::exchange(file_, nullptr), tempPath_, path_);
  if (result == TReplaceResult::Done) return;
  std::remove(tempPath_.c_str());
  if (result == TReplaceResult::WriteFailed) throw EStreamError(kStreamWriteError);
  throw EFileError(CannotCreateText(path_));
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  TAtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace terravel
