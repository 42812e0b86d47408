#include "model/core/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "model/core/Errors.h"

namespace terravel {

std::string ReadFileBytes(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw EFileError(CannotOpenText(path));
  struct stat info {};
  if (fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(file);
    throw EFileError(CannotOpenText(path));
  }
  // Straight into the result when the size is known; then whatever the file grew by meanwhile.
  std::string bytes;
  if (info.st_size > 0) {
    bytes.resize(static_cast<std::size_t>(info.st_size));
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
  std::vector<char> name(path_.begin(), path_.end());
  const std::string suffix = ".tmp-XXXXXX";
  name.insert(name.end(), suffix.begin(), suffix.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) throw EFileError(CannotCreateText(path_));
  tempPath_ = name.data();
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    close(fd);
    unlink(tempPath_.c_str());
    throw EFileError(CannotCreateText(path_));
  }
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Discard() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
    unlink(tempPath_.c_str());
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
  if (std::fflush(file_) != 0 || fsync(fileno(file_)) != 0) throw EStreamError(kStreamWriteError);
  // A replaced file keeps its permissions; a new one gets the usual 0666 less the umask.
  struct stat old {};
  mode_t mode;
  if (stat(path_.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fileno(file_), mode);
  if (std::fclose(file_) != 0) {
    file_ = nullptr;
    unlink(tempPath_.c_str());
    throw EStreamError(kStreamWriteError);
  }
  file_ = nullptr;
  if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    unlink(tempPath_.c_str());
    throw EFileError(CannotCreateText(path_));
  }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  TAtomicFile file(path);
  file.Write(bytes);
  file.Commit();
}

}  // namespace terravel
