#pragma once
// What the windows show of the exchange formats: the chooser's list entries and descriptions, the
// file dialogs' filters, the words of "Import Terravel Text" and the warning before an import.
// The formats themselves, their names and extensions come from the format table.
#include <QString>

#include "model/formats/FormatTable.h"

namespace terravel {

struct TFormatCaption {
  QString Caption;        // the chooser's list entry, also the filter's shown name
  QString Title;          // the format in words, for "Import Terravel Text"
  QString Description;    // "\r" is a line break
  QString ImportWarning;  // shown before every import; empty for none
};

// A format without texts of its own is shown by its name and patterns.
TFormatCaption FormatCaptionOf(const TExchangeFormatInfo& format);
// The description the chooser shows for an export: the format's own when it has one for each way.
QString ExportDescriptionOf(const TExchangeFormatInfo& format);

}  // namespace terravel
