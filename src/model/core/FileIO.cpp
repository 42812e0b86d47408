#include "model/core/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <new>
#include <random>
#include <stdexcept>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "model/core/Errors.h"

namespace terravel {

namespace fs = std::filesystem;

namespace {

struct TReplaceResult {
  enum { Done, WriteFailed, RenameFailed } Outcome;
  int Error = 0;  // the error number of the failed step
};

// The one place that knows the operating system. The finished file is flushed to the disk,
// closed, and renamed over the target in one step, so that a crash leaves either the old file or
// the new one, never a part. The file is closed whatever happens; after a failure the temporary
// file is still there.
TReplaceResult ReplaceWithFile(std::FILE* file, const std::string& tempPath, const std::string& target) {
#ifdef _WIN32
  const bool flushed = std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
  const int flushError = errno;
  if (std::fclose(file) != 0 || !flushed) return {TReplaceResult::WriteFailed, flushed ? errno : flushError};
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
  const int flushError = errno;
  if (std::fclose(file) != 0 || !flushed) return {TReplaceResult::WriteFailed, flushed ? errno : flushError};
  const bool moved = std::rename(tempPath.c_str(), target.c_str()) == 0;
#endif
  return {moved ? TReplaceResult::Done : TReplaceResult::RenameFailed, moved ? 0 : errno};
}

#ifndef _WIN32
bool StartsWith(const std::string& text, std::string_view start) { return text.rfind(start, 0) == 0; }

// The descriptor a name of the process's own streams stands for (/dev/stdout, /dev/fd/3,
// /proc/self/fd/1), or -1. Such a stream is written at its own position, as the shell opened it.
int OwnStreamOf(const std::string& path) {
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (const std::string_view folder : {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/")}) {
    if (!StartsWith(path, folder) || path.size() == folder.size() || path.size() > folder.size() + 6) continue;
    int number = 0;
    for (std::size_t at = folder.size(); at < path.size(); ++at) {
      if (path[at] < '0' || path[at] > '9') return -1;
      number = number * 10 + (path[at] - '0');
    }
    return number;
  }
  return -1;
}

// Where a replacement must go: the file at the end of the path's symbolic links (a dangling link
// is written through too), or empty when the path must be written directly: a device, a pipe, or
// a name in /proc whose links lead to no file a rename could replace.
std::string ReplacedFileOf(const std::string& path) {
  std::string target = path;
  std::error_code unknown;
  for (int hop = 0; hop < 40; ++hop) {
    if (StartsWith(target, "/proc/")) return {};
    if (!fs::is_symlink(fs::symlink_status(target, unknown))) break;
    fs::path link = fs::read_symlink(target, unknown);
    if (unknown) break;
    if (link.is_relative()) link = fs::path(target).parent_path() / link;
    target = link.string();
  }
  const fs::file_status status = fs::status(target, unknown);
  if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status)) return {};
  return target;
}
#endif

// The machine's physical memory in bytes; the largest number when unknown.
std::uintmax_t PhysicalMemory() {
#ifdef _WIN32
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (GlobalMemoryStatusEx(&status) == 0) return UINTMAX_MAX;
  return status.ullTotalPhys;
#else
  const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return UINTMAX_MAX;
  return static_cast<std::uintmax_t>(pages) * static_cast<std::uintmax_t>(pageSize);
#endif
}

}  // namespace

std::string NotARegularFileText(const std::string& path) {
  std::error_code unknown;
  const fs::file_status status = fs::status(path, unknown);
  if (!fs::exists(status) || fs::is_regular_file(status)) return {};
  return CannotOpenText(path) + ": not a regular file";
}

std::string StreamWriteErrorText(const std::string& path, int errorNumber) {
  return std::string(kStreamWriteError) + ": " + path + ": " + std::strerror(errorNumber);
}

std::string ReadFileBytes(const std::string& path) {
  // A device or a pipe may never end, and a folder opens as a file on some systems and then fails
  // to read.
  if (const std::string refusal = NotARegularFileText(path); !refusal.empty()) throw EFileError(refusal);
  std::error_code unknown;
  const std::uintmax_t size = fs::file_size(path, unknown);
  // More than the machine holds (a sparse file takes no room on the disk) is never tried.
  const auto tooBig = [&path](std::uintmax_t bytes) {
    return EFileError(CannotOpenText(path) + ": " + std::to_string(bytes) +
                      " bytes, more than the memory holds");
  };
  if (!unknown && size > PhysicalMemory()) throw tooBig(size);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw EFileError(CannotOpenText(path));
  // Straight into the result when the size is known; then whatever the file grew by meanwhile.
  std::string bytes;
  bool failed = false;
  try {
    if (!unknown && size > 0) {
      bytes.resize(static_cast<std::size_t>(size));
      bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    }
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
    failed = std::ferror(file) != 0;
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    throw tooBig(std::max<std::uintmax_t>(unknown ? 0 : size, bytes.size()));
  } catch (const std::length_error&) {
    std::fclose(file);
    throw tooBig(std::max<std::uintmax_t>(unknown ? 0 : size, bytes.size()));
  }
  std::fclose(file);
  if (failed) throw EStreamError(kStreamReadError);
  return bytes;
}

TAtomicFile::TAtomicFile(std::string path) : path_(std::move(path)) {
#ifndef _WIN32
  target_ = ReplacedFileOf(path_);
  if (target_.empty()) {
    const int stream = OwnStreamOf(path_);
    if (stream >= 0) {
      const int copy = dup(stream);
      file_ = copy < 0 ? nullptr : fdopen(copy, "wb");
      if (file_ == nullptr && copy >= 0) close(copy);
    } else {
      file_ = std::fopen(path_.c_str(), "wb");
    }
    if (file_ == nullptr) throw EFileError(CannotCreateText(path_));
    return;
  }
#else
  target_ = path_;
#endif
  // "x" refuses a name that exists, so a file of another program is never shared or replaced.
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".tmp-%06x", static_cast<unsigned>(random() & 0xFFFFFFu));
    tempPath_ = target_ + suffix;
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
    if (!tempPath_.empty()) std::remove(tempPath_.c_str());
  }
}

void TAtomicFile::FailWrite(int errorNumber) {
  Discard();
  throw EStreamError(StreamWriteErrorText(path_, errorNumber));
}

void TAtomicFile::Write(std::string_view bytes) {
  if (file_ == nullptr) throw EStreamError(StreamWriteErrorText(path_, EBADF));
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) FailWrite(errno);
}

void TAtomicFile::Commit() {
  if (file_ == nullptr) throw EStreamError(StreamWriteErrorText(path_, EBADF));
  if (tempPath_.empty()) {
    // Written directly: a device or a pipe has nothing to sync or rename.
    std::FILE* file = std::exchange(file_, nullptr);
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    if (std::fclose(file) != 0 || !flushed) throw EStreamError(StreamWriteErrorText(path_, flushed ? errno : flushError));
    return;
  }
  // A replaced file keeps its permissions; a new one has the usual ones the file was created with.
  std::error_code unknown;
  const fs::file_status old = fs::status(target_, unknown);
  if (fs::exists(old)) fs::permissions(tempPath_, old.permissions(), unknown);
  const TReplaceResult result = ReplaceWithFile(std::exchange(file_, nullptr), tempPath_, target_);
  if (result.Outcome == TReplaceResult::Done) return;
  std::remove(tempPath_.c_str());
  if (result.Outcome == TReplaceResult::WriteFailed) throw EStreamError(StreamWriteErrorText(path_, result.Error));
  throw EFileError(CannotCreateText(path_));
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  TAtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace terravel
