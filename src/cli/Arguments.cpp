#include "cli/Arguments.h"

#include <charconv>
#include <cmath>
#include <filesystem>

#include "model/core/Errors.h"
#include "model/text/NumberText.h"

namespace terravel::cli {

std::optional<std::string> TArguments::Value(const std::string& name) const {
  const auto it = Options.find(name);
  if (it == Options.end()) return std::nullopt;
  return it->second;
}

TArguments ParseArguments(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                          const std::set<std::string>& flags) {
  TArguments arguments;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() > 2 && word.starts_with("--")) {
      std::string name = word, value;
      const auto equals = word.find('=');
      const bool inlineValue = equals != std::string::npos;
      if (inlineValue) {
        name = word.substr(0, equals);
        value = word.substr(equals + 1);
      }
      if (valueOptions.count(name) != 0) {
        if (!inlineValue) {
          if (i + 1 >= words.size()) throw EUsageError("option " + name + " needs a value");
          value = words[++i];
        }
        if (arguments.Options.count(name) != 0) throw EUsageError("option " + name + " given twice");
        arguments.Options[name] = value;
      } else if (flags.count(name) != 0 && !inlineValue) {
        arguments.Flags.insert(name);
      } else {
        throw EUsageError("unknown option " + word);
      }
    } else {
      arguments.Positional.push_back(word);
    }
  }
  return arguments;
}

float ParseScale(const std::string& text) {
  double value = 0;
  if (!TryParseNumber(text, value, '.') || !std::isfinite(static_cast<float>(value))) {
    throw EUsageError("the scale \"" + text + "\" is no number");
  }
  return static_cast<float>(value);
}

float ParseOptionNumber(const std::string& option, const std::string& text) {
  try {
    return ParseScale(text);
  } catch (const EUsageError&) {
    throw EUsageError(option + " takes a number, not \"" + text + "\"");
  }
}

TPixelSize ParseSize(const std::string& text, const TSizeLimits& limits, const std::string& message) {
  TPixelSize size;
  const auto cross = text.find('x');
  if (cross == std::string::npos) throw EUsageError(message);
  const char* end = text.data() + text.size();
  const auto w = std::from_chars(text.data(), text.data() + cross, size.Width);
  const auto h = std::from_chars(text.data() + cross + 1, end, size.Height);
  if (w.ec != std::errc() || w.ptr != text.data() + cross || h.ec != std::errc() || h.ptr != end ||
      size.Width < limits.Least || size.Height < limits.Least || size.Width > limits.Most ||
      size.Height > limits.Most || static_cast<long long>(size.Width) * size.Height > limits.Area) {
    throw EUsageError(message);
  }
  return size;
}

void ExpectPositional(const TArguments& arguments, std::size_t count) {
  if (arguments.Positional.size() != count) {
    throw EUsageError("expected " + std::to_string(count) + " file name" + (count == 1 ? "" : "s") + ", got " +
                      std::to_string(arguments.Positional.size()));
  }
}

void RefuseOutputOverInput(const std::string& input, const std::string& output) {
  std::error_code unknown;
  if (std::filesystem::equivalent(input, output, unknown) && !unknown) {
    throw ETerravelError("The output " + output + " is the input project " + input + "; nothing was written.");
  }
}

}  // namespace terravel::cli
