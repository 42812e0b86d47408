#pragma once
// Expected file texts are written as raw strings with plain line breaks and tabs spelled "\t";
// the files carry CR LF and real tabs.
#include <string>
#include <string_view>

namespace terravel::test {

inline std::string FileText(std::string_view lines) {
  std::string text;
  text.reserve(lines.size() + lines.size() / 8);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == '\\' && i + 1 < lines.size() && lines[i + 1] == 't') {
      text += '\t';
      ++i;
      continue;
    }
    if (lines[i] == '\n') text += '\r';
    text += lines[i];
  }
  return text;
}

}  // namespace terravel::test
