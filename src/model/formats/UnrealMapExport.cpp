#include "model/formats/UnrealMapExport.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/formats/FixedNumber.h"
#include "model/formats/T3DKeywords.h"
#include "model/formats/TextOutput.h"

namespace terravel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kPolygonIndent = "          ";
constexpr std::string_view kItemIndent = "             ";
constexpr std::size_t kItemLineRoom = 13 + 9 + 3 * (kFixedTextRoom + 8) + 2;

// UnrealEd's number: a sign, at least five integer digits and six decimals (+00128.000000).
char* PutNumber(char* out, float value) {
  char digits[kFixedTextRoom];
  const char* end = WriteFixed(digits, std::abs(value), 6, '.');
  *out++ = value >= 0 ? '+' : '-';
  const std::ptrdiff_t integer = end - digits - 7;
  for (std::ptrdiff_t i = integer; i < 5; ++i) *out++ = '0';
  return TTextOutput::Put(out, std::string_view(digits, std::size_t(end - digits)));
}

char* PutItem(char* out, std::string_view name, const TMapPoint& point) {
  out = TTextOutput::Put(out, kItemIndent);
  out = TTextOutput::Put(out, name);
  for (std::size_t i = name.size(); i < 9; ++i) *out++ = ' ';
  out = PutNumber(out, point.X);
  *out++ = ',';
  out = PutNumber(out, point.Y);
  *out++ = ',';
  out = PutNumber(out, point.Z);
  return TTextOutput::Put(out, kLineEnd);
}

TMapPoint UnitNormal(const TMapPolygon& polygon) {
  const TMapPoint n = PolygonNormal(polygon);
  const double length = std::sqrt(double(n.X) * n.X + double(n.Y) * n.Y + double(n.Z) * n.Z);
  if (!(length > 0)) return {};
  return {float(n.X / length), float(n.Y / length), float(n.Z / length)};
}

void PutPolygon(TTextOutput& output, const TMapPolygon& polygon) {
  char* out = output.Room(kPolygonIndent.size() * 2 + polygon.Texture.size() + 64 +
                          (4 + polygon.Vertices.size()) * kItemLineRoom);
  out = TTextOutput::Put(out, kPolygonIndent);
  out = TTextOutput::Put(out, t3d::kBeginPolygon);
  if (!polygon.Texture.empty()) {
    *out++ = ' ';
    out = TTextOutput::Put(out, t3d::kTexture);
    *out++ = '=';
    out = TTextOutput::Put(out, polygon.Texture);
  }
  if (polygon.Flags != 0) {
    out = TTextOutput::Put(out, " Flags=");
    out = std::to_chars(out, out + 16, polygon.Flags).ptr;
  }
  out = TTextOutput::Put(out, kLineEnd);
  out = PutItem(out, "Origin", {});
  out = PutItem(out, "Normal", UnitNormal(polygon));
  out = PutItem(out, "TextureU", polygon.TextureU);
  out = PutItem(out, "TextureV", polygon.TextureV);
  for (const TMapPoint& vertex : polygon.Vertices) out = PutItem(out, t3d::kVertex, vertex);
  out = TTextOutput::Put(out, kPolygonIndent);
  out = TTextOutput::Put(out, t3d::kEndPolygon);
  output.Wrote(TTextOutput::Put(out, kLineEnd));
}

std::string Line(std::string_view indent, std::string_view text) {
  return std::string(indent) + std::string(text) + std::string(kLineEnd);
}

std::string FixedText(float value) {
  char digits[kFixedTextRoom];
  return std::string(digits, WriteFixed(digits, value, 6, '.'));
}

std::string LocationLine(const TMapPoint& p) {
  return Line("    ",
              "Location=(X=" + FixedText(p.X) + ",Y=" + FixedText(p.Y) + ",Z=" + FixedText(p.Z) + ")");
}

void PutBrush(TTextOutput& output, const TMapBrush& brush, int number) {
  const std::string name = "Brush" + std::to_string(number);
  const std::string model = "Model" + std::to_string(number);
  output.Append(Line("", std::string(t3d::kBeginActor) + " Class=Brush Name=" + name));
  output.Append(Line("    ", brush.Subtract ? "CsgOper=CSG_Subtract" : "CsgOper=CSG_Add"));
  output.Append(Line("    ", "MainScale=(SheerAxis=SHEER_ZX)"));
  output.Append(Line("    ", "PostScale=(SheerAxis=SHEER_ZX)"));
  if (brush.PolyFlags != 0) output.Append(Line("    ", "PolyFlags=" + std::to_string(brush.PolyFlags)));
  output.Append(LocationLine({}));
  output.Append(Line("    ", std::string(t3d::kBeginBrush) + " Name=" + model));
  output.Append(Line("       ", t3d::kBeginPolyList));
  for (const TMapPolygon& polygon : brush.Polygons) PutPolygon(output, polygon);
  output.Append(Line("       ", t3d::kEndPolyList));
  output.Append(Line("    ", t3d::kEndBrush));
  output.Append(Line("    ", "Brush=Model'MyLevel." + model + "'"));
  output.Append(Line("    ", "Name=\"" + name + "\""));
  output.Append(Line("", t3d::kEndActor));
}

void PutActor(TTextOutput& output, const TMapActor& actor, int number) {
  const std::string name = actor.Class + std::to_string(number);
  output.Append(Line("", std::string(t3d::kBeginActor) + " Class=" + actor.Class + " Name=" + name));
  output.Append(LocationLine(actor.Location));
  output.Append(Line("    ", "Name=\"" + name + "\""));
  output.Append(Line("", t3d::kEndActor));
}

std::string Compose(const TMapBrushes& brushes, TTextOutput& output) {
  output.Append(Line("", t3d::kBeginMap));
  int number = 0;
  for (const TMapBrush& brush : brushes.Brushes) PutBrush(output, brush, ++number);
  for (const TMapActor& actor : brushes.Actors) PutActor(output, actor, 1);
  output.Append(Line("", t3d::kEndMap));
  return output.Finish();
}

std::string CountText(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

std::string UnrealMapOf(const TMapBrushes& brushes) {
  TTextOutput output(brushes.PolygonCount() * 600 + 4096);
  return Compose(brushes, output);
}

std::string UnrealMapText(const TEditor& editor, const TMapExportOptions& options) {
  RequireFiniteCoordinates(editor.Nodes);
  return UnrealMapOf(BuildMapBrushes(editor.Nodes, editor.Polygons, options));
}

TExport ExportUnrealMap(const TEditor& editor, const std::string& path, const TMapExportOptions& options) {
  RequireFiniteCoordinates(editor.Nodes);  // before the file is touched
  const TMapBrushes brushes = BuildMapBrushes(editor.Nodes, editor.Polygons, options);
  {
    TAtomicFile file(path);
    TTextOutput output(file);
    Compose(brushes, output);
  }
  TExport report;
  report.Written = CountText(brushes.Brushes.size(), "brush", "brushes") + " of " +
                   CountText(brushes.PolygonCount(), "polygon", "polygons");
  std::string largest;
  {
    char digits[kFixedTextRoom];
    largest = std::string(digits, WriteFixed(digits, float(brushes.LargestZChange), 6, '.'));
  }
  report.Summary = "Largest brush: " + CountText(brushes.LargestBrush(), "polygon", "polygons") +
                   "; largest Z change by snapping: " + largest;
  for (const std::string& forced : brushes.Forced) report.Summary += "\nWritten anyway: " + forced;
  report.Log.push_back("Unreal map: " + report.Written + ". " + report.Summary);
  return report;
}

}  // namespace terravel
