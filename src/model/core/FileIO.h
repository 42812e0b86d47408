#pragma once
// Reading whole files and replacing files safely. A save never destroys the file it replaces:
// the new content goes to a temporary file beside it, which takes the old one's place only when
// it is complete.
#include <cstdio>
#include <string>
#include <string_view>

namespace terravel {

// The whole file; EFileError "Datei %s kann nicht geöffnet werden" when it cannot be opened,
// EStreamError "Stream-Read-Fehler" when reading fails.
std::string ReadFileBytes(const std::string& path);

class TAtomicFile {
 public:
  // Creates the temporary file beside the path; EFileError "Datei %s kann nicht erstellt werden"
  // when that is impossible.
  explicit TAtomicFile(std::string path);
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;
  // Without Commit the temporary file is removed and the target stays as it was.
  ~TAtomicFile();

  // EStreamError "Stream-Write-Fehler" when the bytes cannot be written.
  void Write(std::string_view bytes);
  // Flushes, syncs and puts the file in place in one step (permissions of a replaced file are
  // kept). EStreamError "Stream-Write-Fehler" when the bytes do not reach the disk, EFileError
  // "Datei %s kann nicht erstellt werden" when the file cannot take the target's place.
  void Commit();

 private:
  void Discard();

  std::string path_;
  std::string tempPath_;
  std::FILE* file_ = nullptr;
};

// Writes the bytes to the path through a TAtomicFile.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace terravel
