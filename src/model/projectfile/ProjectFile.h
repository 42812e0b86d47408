#pragma once
// The native project file (".tvp"): an 80-byte signature block, the nodes, the polygons and the
// project values, as flat little-endian fields.
#include <string>
#include <string_view>

namespace terravel {

class TEditor;

// Writes the whole document to the path, a piece at a time, replacing an existing file only when
// the new one is complete. Texts too long for the file refuse the save before anything is written
// (ETerravelError naming the record); EFileError when the file cannot be created, EStreamError
// when writing fails. Returns true when done; the document is never changed.
bool SaveProjectFile(TEditor& editor, const std::string& path);

// Reads the file into the document, which the caller has cleared. Returns true when done.
// EFileError when the file cannot be opened; otherwise as ReadProjectBytes.
bool LoadProjectFile(TEditor& editor, const std::string& path);

// The bytes of the project file for the document. A text longer than 65535 bytes cannot be
// stored: ETerravelError "Cannot save: the name of node 5 is longer than 65535 bytes." (and so on
// for groups and textures, records counted from 0).
std::string WriteProjectBytes(const TEditor& editor);

// Appends the nodes and polygons of the file's bytes with automatic names for empty ones, sets the
// selection counts, the project values and the grid, and shows the values in the main window.
// A file that ends inside a field raises EStreamError "Stream-Read-Fehler"; a negative node or
// polygon count or a polygon corner naming no node raises EInvalidFileError "The file %s is
// damaged: ..." (naming the file by nameForMessages). Bytes that do not start with "TVP " load
// only when they read to their exact end and hold a record or the project values; otherwise
// EInvalidFileError "The file %s is not a Terravel project file." before anything changes.
// After a failure the document stays consistent: the records read so far stay, except that a
// refused file's polygons all leave again, and the selection counts match what stayed.
void ReadProjectBytes(TEditor& editor, std::string_view bytes, const std::string& nameForMessages);

}  // namespace terravel
