#pragma once
// Command-line words: positional arguments and "--name value" options, checked against what a
// command accepts.
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace terravel::cli {

// A wrong call: the tool prints the message and the usage, and exits with 2.
class EUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TArguments {
  std::vector<std::string> Positional;
  std::map<std::string, std::string> Options;  // "--scale" -> "2"; flags map to ""
  std::set<std::string> Flags;

  bool Has(const std::string& name) const { return Options.count(name) != 0 || Flags.count(name) != 0; }
  std::optional<std::string> Value(const std::string& name) const;
};

// Splits the words after the command name. valueOptions take one value; flags take none;
// anything else starting with "--" is a usage error.
TArguments ParseArguments(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                          const std::set<std::string>& flags);

// A number written with a point, as scripts write it; a usage error otherwise.
float ParseScale(const std::string& text);
// The same for the value of an option, named in the message when it is no number.
float ParseOptionNumber(const std::string& option, const std::string& text);
// A picture size as --size takes it.
struct TPixelSize {
  int Width = 0;
  int Height = 0;
};
// What a command allows for --size: each side from Least to Most, and at most Area pixels in all.
struct TSizeLimits {
  int Least;
  int Most;
  long long Area;
};
// "WIDTHxHEIGHT": two whole numbers joined by an 'x' and nothing else, within `limits`; a usage
// error saying `message` otherwise (each command words its own).
TPixelSize ParseSize(const std::string& text, const TSizeLimits& limits, const std::string& message);
// A usage error unless exactly `count` file names (positional words) were given.
void ExpectPositional(const TArguments& arguments, std::size_t count);
// ETerravelError when the output names the input project itself (also through a link): an export
// or a picture must never take the project's place.
void RefuseOutputOverInput(const std::string& input, const std::string& output);

}  // namespace terravel::cli
