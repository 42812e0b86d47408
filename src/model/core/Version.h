#pragma once
// The program's version, as the about and log windows, the project text and terravel-cli show it.
namespace terravel {

inline constexpr const char* kTerravelVersion = "0.7";

}  // namespace terravel
