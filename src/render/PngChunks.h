#pragma once
// A look at a PNG file's chunk headers before any decoder sees it: a chunk that claims more bytes
// than the file holds would make the decoder reserve that much memory before it finds the file
// damaged.
#include <string>

namespace terravel {

// Empty for a PNG whose chunks fit in the file, and for any file that is no PNG (its own reader
// judges it); otherwise why the file is damaged.
std::string PngChunkDamage(const std::string& path);

}  // namespace terravel
