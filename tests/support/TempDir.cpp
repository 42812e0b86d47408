#include "support/TempDir.h"

#include <fstream>
#include <iterator>

namespace terravel::test {

std::string TTempFolder::Path(const std::string& name) const { return dir_.filePath(QString::fromStdString(name)).toStdString(); }

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace terravel::test
