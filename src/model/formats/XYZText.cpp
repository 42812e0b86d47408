#include "model/formats/XYZText.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
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

// A column's text as a number times the scale, formed in extended precision; what is no number
// reads as 0. A product beyond the single-precision range refuses the file: it would become an
// infinite node that no export can write.
float ColumnValue(const std::string& column, float scale, char separator, int line) {
  double value = 0;
  if (!TryParseNumber(column, value, separator)) return 0;
  const long double product = static_cast<long double>(value) * scale;
  if (!FitsSingle(product)) {
    std::string shown = column;
    if (separator != '.') std::replace(shown.begin(), shown.end(), separator, '.');
    throw EInvalidFileError("Line " + std::to_string(line) + ": the coordinate " + TrimmedForMessage(shown) +
                            " lies outside the single-precision range.");
  }
  return static_cast<float>(product);
}

}  // namespace

std::string XYZTextOf(const TEditor& editor, float scale) {
  RequireFiniteCoordinates(editor.Nodes);
  const char separator = DecimalSeparator();
  std::string text;
  text.reserve(static_cast<std::size_t>(editor.Nodes.Count()) * 32);
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    const T3DCoord& node = editor.Nodes[i];
    const float x = Scaled(node.X, scale), y = Scaled(node.Y, scale), z = Scaled(node.Z, scale);
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) FailScaledBeyondRange(editor.Nodes, i, scale);
    AppendCoordinate(text, x, separator);
    text += '\t';
    AppendCoordinate(text, y, separator);
    text += '\t';
    AppendCoordinate(text, z, separator);
    text += "\r\n";
  }
  return text;
}

void ExportXYZText(const TEditor& editor, const std::string& path, float scale) {
  WriteFileAtomically(path, XYZTextOf(editor, scale));
}

TAppendedMesh XYZNodesOf(std::string_view bytes, float scale) {
  const char separator = DecimalSeparator();
  const std::size_t endOfFile = bytes.find(kEndOfFile);
  if (endOfFile != std::string_view::npos) bytes = bytes.substr(0, endOfFile);

  // Every line is read before the first node enters, so a refused file changes nothing.
  TAppendedMesh mesh;
  std::string columns[3];  // kept across lines so that their buffers are reused
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    // CR LF, a lone CR and a lone LF each end a line, whichever system wrote the file.
    const std::size_t lineEnd = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
    std::string_view line = bytes.substr(pos, lineEnd - pos);
    pos = lineEnd + 1;
    if (lineEnd < bytes.size() && bytes[lineEnd] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
    ++lineNumber;

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
    mesh.Nodes.push_back({ColumnValue(columns[0], scale, separator, lineNumber),
                          ColumnValue(columns[1], scale, separator, lineNumber),
                          ColumnValue(columns[2], scale, separator, lineNumber)});
  }
  return mesh;
}

TImport ReadXYZText(const std::string& path, const TReadOptions& options) {
  return {XYZNodesOf(ReadFileBytes(path), options.Scale), {}, {}};
}

}  // namespace terravel
