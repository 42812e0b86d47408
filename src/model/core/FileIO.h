#pragma once
// Reading whole files and replacing files safely. A save never destroys the file it replaces:
// the new content goes to a temporary file beside it, which takes the old one's place only when
// it is complete. A symbolic link is written through to the file it names; a device, a pipe or the
// process's own output (/dev/stdout) is written directly, since it cannot be replaced.
#include <cstdio>
#include <string>
#include <string_view>

namespace terravel {

// The whole file; EFileError "Datei %s kann nicht geöffnet werden" when it cannot be opened or is
// no regular file (a device or a pipe never ends), with ": N bytes, more than the memory holds"
// when it is bigger than the machine's memory or does not fit in what is free, EStreamError
// "Stream-Read-Fehler" when reading fails.
std::string ReadFileBytes(const std::string& path);

// Empty when the path names a regular file (through links) or nothing at all; otherwise the
// refusal "Datei %s kann nicht geöffnet werden: not a regular file". Readers outside the model
// (pictures) ask this before they open a file.
std::string NotARegularFileText(const std::string& path);

// "Stream-Write-Fehler: <path>: <cause>", the cause being the system's text for the error number.
std::string StreamWriteErrorText(const std::string& path, int errorNumber);

class TAtomicFile {
 public:
  // Creates the temporary file beside the path; EFileError "Datei %s kann nicht erstellt werden"
  // when that is impossible.
  explicit TAtomicFile(std::string path);
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;
  // Without Commit the temporary file is removed and the target stays as it was.
  ~TAtomicFile();

  // EStreamError "Stream-Write-Fehler: <path>: <cause>" when the bytes cannot be written.
  void Write(std::string_view bytes);
  // Flushes, syncs and puts the file in place in one step (permissions of a replaced file are
  // kept). EStreamError "Stream-Write-Fehler: <path>: <cause>" when the bytes do not reach the
  // disk, EFileError "Datei %s kann nicht erstellt werden" when the file cannot take the target's
  // place.
  void Commit();

 private:
  void Discard();
  [[noreturn]] void FailWrite(int errorNumber);

  std::string path_;      // as the caller named it, for messages
  std::string target_;    // the file replaced: the path, or the file its links lead to
  std::string tempPath_;  // empty when written directly
  std::FILE* file_ = nullptr;
};

// Writes the bytes to the path through a TAtomicFile.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace terravel
