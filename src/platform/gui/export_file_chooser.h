#pragma once
// The save panel of exports, run as a sheet: it asks for a file with a given
// extension, starting in the user's home folder with an empty name.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QFileDialog;
class QWidget;

namespace ch {

// The extension the panel requires: the requested one when it has at least 3
// characters, else "tsv".
std::string exportExtension(std::string_view requested);

// The path with ".<extension>" added unless it already ends with it, in
// any case ("q4.xml" has the extension "XML").
std::string withExportExtension(std::string path, std::string_view extension);

// Opens the panel over `window` (nullptr: modal for the application) and
// returns at once; `chosen` later gets the path when the user confirms, or
// nothing when the panel is cancelled; the window is then the active window
// again. The panel deletes itself when done;
// the returned pointer lets a caller (a test) drive it until then.
QFileDialog* getExportFileNameWithExtension(QWidget* window, std::string_view extension,
                                            std::function<void(std::optional<std::string>)> chosen);

} // namespace ch
