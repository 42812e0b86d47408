#include "model/formats/XYZText.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FixedNumber.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

constexpr char kEndOfFile = 26;  // Ctrl+Z

// The coordinate times the scale, rounded once to single precision (the float product is exact
// in double).
float Scaled(float value, float scale) {
  return static_cast<float>(static_cast<double>(value) * static_cast<double>(scale));
}

// "%f" in the user's format with the first decimal separator turned into ".".
void AppendCoordinate(std::string& text, float value, char separator) {
  char number[kFixedTextRoom];
  char* const end = WriteFixed(number, value, 2, separator);
  if (separator != '.') {
    for (char* p = number; p != end; ++p) {
      if (*p == separator) {
        *p = '.';
        break;
      }
    }
  }
  text.append(number, end);
}

// A column's text as a number times the scale; what is no number, or no single-precision
// number once scaled, reads as 0.
float ColumnValue(const std::string& column, float scale, char separator) {
  double value = 0;
  if (!TryParseNumber(column, value, separator)) return 0;
  const float scaled = static_cast<float>(static_cast<long double>(value) * scale);
  return std::isfinite(scaled) ? scaled : 0.0f;
}

}  // namespace

std::string XYZTextOf(const TEditor& editor, float scale) {
  const char separator = DecimalSeparator();
  std::string text;
  text.reserve(static_cast<std::size_t>(editor.Nodes.Count()) * 32);
  for (const T3DCoord& node : editor.Nodes) {
    AppendCoordinate(text, Scaled(node.X, scale), separator);
    text += '\t';
    AppendCoordinate(text, Scaled(node.Y, scale), separator);
    text += '\t';
    AppendCoordinate(text, Scaled(node.Z, scale), separator);
    text += "\r\n";
  }
  return text;
}

void ExportXYZText(const TEditor& editor, const std::string& path, float scale) {
  WriteFileAtomically(path, XYZTextOf(editor, scale));
}

int ImportXYZBytes(TEditor& editor, std::string_view bytes, float scale) {
  const char separator = DecimalSeparator();
  const std::size_t endOfFile = bytes.find(kEndOfFile);
  if (endOfFile != std::string_view::npos) bytes = bytes.substr(0, endOfFile);

  std::string columns[3];  // kept across lines so that their buffers are reused
  int added = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t lineEnd = std::min(bytes.find('\r', pos), bytes.size());
    std::string_view line = bytes.substr(pos, lineEnd - pos);
    pos = lineEnd + 1;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;

    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) continue;
    line.remove_prefix(first);
    if (line.front() == ';') continue;

    // A tab moves to the next column, never past the third: the third runs to the line's end.
    for (std::string& column : columns) column.clear();
    int column = 0;
    for (char c : line) {
      if (c == '\t') {
        if (column < 2) ++column;
        continue;
      }
      if (c == '.' && separator != '.') c = separator;
      columns[column] += c;
    }
    const float x = ColumnValue(columns[0], scale, separator);
    const float y = ColumnValue(columns[1], scale, separator);
    const float z = ColumnValue(columns[2], scale, separator);
    if (editor.Nodes.NewNode("", "", x, y, z) < 0) throw std::bad_alloc();
    ++added;
  }
  return added;
}

int ImportXYZText(TEditor& editor, const std::string& path, float scale) {
  return ImportXYZBytes(editor, ReadFileBytes(path), scale);
}

}  // namespace terravel
