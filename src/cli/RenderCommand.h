#pragma once
// terravel-cli render: draws a project as the viewport shows it and writes the picture (or the
// pick buffer) as a PNG.
#include <ostream>
#include <string>
#include <vector>

class QImage;

namespace terravel::cli {

// render FILE.tvp OUT.png [--size WxH] [--fit] [--pick] [--show LIST] [--no-gradient-lines]
//        [--background IMAGE [--origin X,Y] [--scale W,H]]
int RunRender(const std::vector<std::string>& words, std::ostream& out);

// The PNG file's bytes of a picture; the error names the file that was to be written.
std::string PngBytes(const QImage& image, const std::string& path);

}  // namespace terravel::cli
