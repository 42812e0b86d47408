#include "model/formats/T3DParser.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

#include "model/core/Errors.h"
#include "model/formats/T3DKeywords.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

using namespace t3d;

constexpr std::size_t kNameLimit = 31;      // class, names, item and texture keys
constexpr std::size_t kItemNameLimit = 15;  // the first word of an item line
// A message box cannot show a line of megabytes; longer offending lines are shown cut.
constexpr std::size_t kQuotedLineLimit = 200;

[[noreturn]] void FailMissing(std::string_view marker) {
  throw EParseError("\"" + std::string(marker) + "\" fehlt.");
}

[[noreturn]] void FailUnknown(std::string_view line) {
  std::string shown(line.substr(0, kQuotedLineLimit));
  if (line.size() > kQuotedLineLimit) shown += "...";
  throw EParseError("Unbekannte Anweisung: \"" + shown + "\"");
}

bool IsTrimmed(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string Limited(std::string_view text, std::size_t limit) {
  return std::string(text.substr(0, limit));
}

// A marker line: the marker as a whole word ("Begin ActorGroup" is no "Begin Actor").
bool IsMarker(std::string_view line, std::string_view marker) {
  return StartsWith(line, marker) && (line.size() == marker.size() || IsTrimmed(line[marker.size()]));
}

// The name of a block in the rest of its Begin or End line: the first word.
std::string_view BlockName(std::string_view rest) {
  return rest.substr(0, rest.find(' '));
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// UTF-16 text after its byte-order mark as 8-bit text (UTF-8, the system's code page here). A
// surrogate without its partner and an odd last byte become U+FFFD.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  constexpr char32_t kReplacement = 0xFFFD;
  const auto unit = [&](std::size_t at) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
    return bigEndian ? char32_t(a << 8 | b) : char32_t(b << 8 | a);
  };
  std::string text;
  text.reserve(bytes.size() / 2);
  std::size_t at = 2;
  for (; at + 1 < bytes.size(); at += 2) {
    char32_t c = unit(at);
    if (c >= 0xD800 && c < 0xDC00 && at + 3 < bytes.size()) {
      const char32_t low = unit(at + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
      }
    }
    if (c >= 0xD800 && c < 0xE000) c = kReplacement;
    AppendUtf8(text, c);
  }
  if (at < bytes.size()) AppendUtf8(text, kReplacement);
  return text;
}

// Which UTF-16 byte order the text's byte-order mark announces, if any.
enum class TUtf16 { None, LittleEndian, BigEndian };
TUtf16 Utf16Of(std::string_view text) {
  if (StartsWith(text, "\xFF\xFE")) return TUtf16::LittleEndian;
  if (StartsWith(text, "\xFE\xFF")) return TUtf16::BigEndian;
  return TUtf16::None;
}

// Reads the text line by line; a line ends at CR, LF or CR LF. The next CR and the next LF are
// each looked up with memchr and remembered until the reader passes them.
class TLineReader {
 public:
  explicit TLineReader(std::string_view text) : text_(text) {}

  // The next line without its line end; false at the end of the text.
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t begin = pos_;
    const std::size_t end = std::min(NextOf('\r', nextCr_), NextOf('\n', nextLf_));
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    line = text_.substr(begin, end - begin);
    ++lines_;
    return true;
  }

  // Offset of the next line (just past the line end of the line last read).
  std::size_t Position() const { return pos_; }
  // How many lines have been read: the number of the line last read, counted from 1.
  int LinesRead() const { return lines_; }

 private:
  std::size_t NextOf(char c, std::size_t& cached) {
    if (cached < pos_ || cached == kUnknown) {
      const void* found = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
      cached = found != nullptr ? std::size_t(static_cast<const char*>(found) - text_.data()) : text_.size();
    }
    return cached;
  }

  static constexpr std::size_t kUnknown = std::string_view::npos;
  std::string_view text_;
  std::size_t pos_ = 0;
  int lines_ = 0;
  std::size_t nextCr_ = kUnknown;
  std::size_t nextLf_ = kUnknown;
};

// The value of a key in the rest of a header line: it starts one character after the key (past
// the "=") and runs to the first space after the key, or to the end of the line.
std::string_view KeyValue(std::string_view rest, std::string_view key) {
  const std::size_t at = rest.find(key);
  if (at == std::string_view::npos) return {};
  const std::size_t begin = at + key.size() + 1;
  std::size_t end = rest.find(' ', at);
  if (end == std::string_view::npos) end = rest.size();
  return begin < end ? rest.substr(begin, end - begin) : std::string_view();
}

// The rest of a header line after its marker, trimmed.
std::string_view AfterMarker(std::string_view line, std::string_view marker) {
  return TT3DMap::Trim(line.substr(marker.size()));
}

// The common case of UnrealEd's numbers ("-00128.500000"): a sign, at most 15 significant digits
// with a "." among them, no exponent. The digits as an integer and the power of ten are both exact
// doubles, so their quotient is the correctly rounded value, as the general reading gives it.
bool TryPlainDecimal(std::string_view text, double& value) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  std::size_t i = 0, end = text.size();
  while (i < end && text[i] == ' ') ++i;
  while (end > i && text[end - 1] == ' ') --end;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::uint64_t digits = 0;
  int significant = 0, decimals = 0, seen = 0;
  bool point = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    ++seen;
    if (point) ++decimals;
    if (digits != 0 || c != '0') {
      if (++significant > 15) return false;
      digits = digits * 10 + std::uint64_t(c - '0');
    }
  }
  if (seen == 0 || decimals > 22) return false;
  const double magnitude = double(digits) / kPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
}

// A number as written in the file: "." stands for the decimal separator of the user. Anything
// that does not convert is 0.
double ToNumber(std::string_view text) {
  const char separator = DecimalSeparator();
  double value = 0;
  if (separator == '.' || text.find(separator) == std::string_view::npos) {
    // Without the user's separator in the text, "." read as the separator is the same thing.
    if (TryPlainDecimal(text, value)) return value;
    if (!TryParseNumber(text, value, '.')) value = 0;
  } else {
    std::string local(text);
    for (char& c : local)
      if (c == '.') c = separator;
    if (!TryParseNumber(local, value, separator)) value = 0;
  }
  return value;
}

std::int32_t ToInteger(std::string_view text) {
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return 0;
  return value;
}

// The value after "U=" or "V=" up to the next space.
double PanValue(std::string_view rest, std::string_view key) {
  const std::size_t at = rest.find(key);
  if (at == std::string_view::npos) return 0;
  const std::size_t begin = at + key.size();
  const std::size_t end = rest.find(' ', begin);
  return ToNumber(rest.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
}

TPolygonItem ParseItem(std::string_view line) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) FailUnknown(line);
  TPolygonItem item;
  item.ItemName = Limited(line.substr(0, space), kItemNameLimit);
  const std::string_view rest = TT3DMap::Trim(line.substr(space + 1));
  if (SameTextIgnoringCase(item.ItemName, "Pan")) {
    item.Values[0] = PanValue(rest, "U=");
    item.Values[1] = PanValue(rest, "V=");
    return item;
  }
  std::string_view remaining = rest;
  for (double& value : item.Values) {
    const std::size_t comma = remaining.find(',');
    value = ToNumber(remaining.substr(0, comma));
    if (comma == std::string_view::npos) break;
    remaining.remove_prefix(comma + 1);
  }
  return item;
}

// Reads the body of a map. There is no recursion: the grammar has a fixed depth, and every level
// is one loop over the shared line reader.
class TBodyParser {
 public:
  // firstLine: the number of the body's first line in the whole file.
  TBodyParser(std::string_view body, std::vector<std::unique_ptr<TActor>>& actors, int firstLine)
      : reader_(body), body_(body), actors_(actors), firstLine_(firstLine) {}

  // The body is a list of actors. Later engine versions wrap actors in blocks of their own (a
  // level) and put blocks beside them that the import has no use for (surfaces, actor groups):
  // such a block is passed over line by line, the actors in it are read all the same. A line
  // that stands in no block is a fault.
  void Run() {
    std::vector<std::string_view> open;  // the names of the blocks around the current line
    std::string_view line;
    while (reader_.Next(line)) {
      const std::string_view trimmed = TT3DMap::Trim(line);
      if (trimmed.empty()) continue;
      if (IsMarker(trimmed, kBeginActor)) {
        ParseActor(trimmed);
      } else if (StartsWith(trimmed, kBegin)) {
        open.push_back(BlockName(trimmed.substr(kBegin.size())));
      } else if (!open.empty() && StartsWith(trimmed, kEnd) && BlockName(trimmed.substr(kEnd.size())) == open.back()) {
        open.pop_back();
      } else if (open.empty()) {
        FailUnknown(trimmed);
      }
    }
    if (!open.empty()) FailMissing("End " + std::string(open.back()));
  }

 private:
  void ParseActor(std::string_view header) {
    const std::string_view rest = AfterMarker(header, kBeginActor);
    const std::string_view actorClass = KeyValue(rest, "Class");
    std::unique_ptr<TActor> actor;
    TBrush* brush = nullptr;
    if (SameTextIgnoringCase(actorClass, "Brush")) {
      auto made = std::make_unique<TBrush>();
      brush = made.get();
      actor = std::move(made);
    } else {
      actor = std::make_unique<TActor>();
    }
    actor->ActorClass = Limited(actorClass, kNameLimit);
    actor->ActorName = Limited(KeyValue(rest, "Name"), kNameLimit);

    // Plain lines are gathered as runs of the body text: from the first line of a run to the line
    // end of its last line.
    std::size_t runBegin = std::string_view::npos;
    auto closeRun = [&](std::size_t end) {
      if (runBegin != std::string_view::npos)
        actor->OtherRuns.push_back(body_.substr(runBegin, end - runBegin));
      runBegin = std::string_view::npos;
    };
    std::string_view line;
    std::size_t lineBegin = reader_.Position();
    while (reader_.Next(line)) {
      const std::string_view trimmed = TT3DMap::Trim(line);
      if (SameTextIgnoringCase(trimmed, kEndActor)) break;
      if (StartsWith(trimmed, kBeginBrush)) {
        closeRun(lineBegin);
        // Only a brush actor has a place for the block; elsewhere (movers) it is read and dropped.
        ParseBrush(trimmed, brush);
      } else if (runBegin == std::string_view::npos) {
        runBegin = lineBegin;
      }
      lineBegin = reader_.Position();
    }
    closeRun(lineBegin);
    actors_.push_back(std::move(actor));
  }

  // The next line that is not blank, trimmed; a missing one means the block is cut short.
  std::string_view Required(std::string_view missingMarker) {
    std::string_view line;
    do {
      if (!reader_.Next(line)) FailMissing(missingMarker);
      line = TT3DMap::Trim(line);
    } while (line.empty());
    return line;
  }

  void ParseBrush(std::string_view header, TBrush* brush) {
    TBrush dropped;
    TBrush& target = brush != nullptr ? *brush : dropped;
    target.BrushName = Limited(KeyValue(AfterMarker(header, kBeginBrush), "Name"), kNameLimit);

    std::string_view line = Required(kBeginPolyList);
    if (!StartsWith(line, kBeginPolyList)) FailUnknown(line);
    for (;;) {
      line = Required(kEndPolyList);
      if (StartsWith(line, kBeginPolygon)) {
        const std::string_view rest = AfterMarker(line, kBeginPolygon);
        TT3DPolygon& polygon = target.Polygons.emplace_back();
        polygon.Item = Limited(KeyValue(rest, "Item"), kNameLimit);
        polygon.Texture = Limited(KeyValue(rest, kTexture), kNameLimit);
        polygon.Link = ToInteger(KeyValue(rest, "Link"));
        ParseItems(polygon);
      } else if (StartsWith(line, kEndPolygon)) {
        // The End Polygon of a polygon is read with its items; a second one closes nothing.
      } else if (StartsWith(line, kEndPolyList)) {
        break;
      } else {
        FailUnknown(line);
      }
    }
    line = Required(kEndBrush);
    if (!StartsWith(line, kEndBrush)) FailUnknown(line);
  }

  // Item lines up to the End Polygon line, which is consumed here and closes the polygon. They
  // are gathered in a reused buffer, so each polygon allocates its items once.
  void ParseItems(TT3DPolygon& polygon) {
    items_.clear();
    for (;;) {
      const std::string_view line = Required(kEndPolygon);
      if (StartsWith(line, kEndPolygon)) break;
      items_.push_back(ParseItem(line));
      items_.back().Line = firstLine_ + reader_.LinesRead() - 1;
    }
    polygon.Items.assign(std::make_move_iterator(items_.begin()), std::make_move_iterator(items_.end()));
  }

  TLineReader reader_;
  std::string_view body_;
  std::vector<std::unique_ptr<TActor>>& actors_;
  std::vector<TPolygonItem> items_;
  int firstLine_;
};

}  // namespace

std::string_view TT3DMap::Trim(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> TT3DMap::SplitLines(std::string_view text, bool trim) {
  std::vector<std::string_view> lines;
  TLineReader reader(text);
  std::string_view line;
  while (reader.Next(line)) lines.push_back(trim ? Trim(line) : line);
  return lines;
}

std::vector<std::string_view> TActor::OtherLines() const {
  std::vector<std::string_view> lines;
  for (const std::string_view run : OtherRuns) {
    const auto more = TT3DMap::SplitLines(run, true);
    lines.insert(lines.end(), more.begin(), more.end());
  }
  return lines;
}

std::vector<std::string_view> TT3DMap::Header() const {
  return SplitLines(header_, false);
}
std::vector<std::string_view> TT3DMap::Trailer() const {
  return SplitLines(trailer_, false);
}
std::vector<std::string_view> TT3DMap::Lines() const {
  return SplitLines(body_, true);
}

void TT3DMap::Parse(std::string_view text) {
  const TUtf16 utf16 = Utf16Of(text);
  if (utf16 != TUtf16::None) {
    text_ = DecodeUtf16(text, utf16 == TUtf16::BigEndian);
  } else {
    text_.assign(text);
  }
  ParseText(text_);
}

void TT3DMap::ParseInPlace(std::string_view text) {
  // UTF-16 cannot be read in place: the tree then refers into a decoded copy.
  if (Utf16Of(text) != TUtf16::None) {
    Parse(text);
    return;
  }
  text_.clear();
  text_.shrink_to_fit();
  ParseText(text);
}

void TT3DMap::ParseText(std::string_view all) {
  Actors.clear();
  header_ = body_ = trailer_ = {};
  // A byte-order mark that an editor may have put in front is no part of the first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (StartsWith(all, kByteOrderMark)) all.remove_prefix(kByteOrderMark.size());

  // The first line that is exactly Begin Map (letter case aside) opens the map, and the first
  // exact End Map after it closes it; both are looked for before any trimming.
  TLineReader reader(all);
  std::string_view line;
  std::size_t lineBegin = 0;
  std::size_t bodyBegin = std::string_view::npos;
  int bodyLine = 0;
  while (reader.Next(line)) {
    if (SameTextIgnoringCase(line, kBeginMap)) {
      header_ = all.substr(0, lineBegin);
      bodyBegin = reader.Position();
      bodyLine = reader.LinesRead() + 1;
      break;
    }
    lineBegin = reader.Position();
  }
  if (bodyBegin == std::string_view::npos) FailMissing(kBeginMap);
  lineBegin = bodyBegin;
  bool closed = false;
  while (reader.Next(line)) {
    if (SameTextIgnoringCase(line, kEndMap)) {
      body_ = all.substr(bodyBegin, lineBegin - bodyBegin);
      trailer_ = all.substr(reader.Position());
      closed = true;
      break;
    }
    lineBegin = reader.Position();
  }
  if (!closed) FailMissing(kEndMap);

  TBodyParser(body_, Actors, bodyLine).Run();
}

}  // namespace terravel
