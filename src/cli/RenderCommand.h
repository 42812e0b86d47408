#pragma once
// terravel-cli render: draws a project as the viewport shows it and writes the picture (or the
// pick buffer) as a PNG.
#include <ostream>
#include <string>
#include <vector>

namespace terravel::cli {

// render FILE.tvp OUT.png [--size WxH] [--fit] [--pick] [--show LIST] [--no-gradient-lines]
//        [--background IMAGE [--origin X,Y] [--scale W,H]]
int RunRender(const std::vector<std::string>& words, std::ostream& out);

}  // namespace terravel::cli
