#pragma once
// Opening a web page or a local help page in the user's browser.
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace terravel {

// The product's web site (the about window).
inline constexpr const char* kWebSiteUrl = "https://terravel.quillstone.example/";

// "xdg-open %1" when xdg-open is on the PATH, otherwise empty.
QString BrowserCommand();
// What OpenWebPage starts, program first: the browser command with its first "%1" replaced by
// the URL; a command without "%1" unchanged; without a command, the URL itself.
QStringList WebPageCommandLine(const QString& browserCommand, const QString& url);
// Starts the browser on the URL; whether it starts is not examined.
void OpenWebPage(const QString& url);
// The manual of a program in programFolder: "index.html" in its "guide" folder (see DataFolder),
// with "#q<tag>" for a tag other than 0.
QString ManualPage(const QString& programFolder, int tag);
// The same page as a file:// URL, so that the anchor survives the browser command.
QUrl ManualUrl(const QString& programFolder, int tag);
// Opens the manual at the anchor of the tag; when it is missing, says so instead.
void OpenManual(QWidget* parent, const QString& programFolder, int tag);

}  // namespace terravel
