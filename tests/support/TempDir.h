#pragma once
// Files for format tests: a fresh folder per test object, removed afterwards.
#include <QTemporaryDir>

#include <string>

namespace terravel::test {

class TTempFolder {
 public:
  std::string Path(const std::string& name) const;
  bool Valid() const { return dir_.isValid(); }

 private:
  QTemporaryDir dir_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace terravel::test
