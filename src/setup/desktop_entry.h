#pragma once
// The desktop shortcut: a Desktop Entry file that starts the installed program.
#include <QString>
#include <filesystem>

namespace kuvela::setup {

// The program's path as one Exec argument: in double quotes, with '"', '`', '$' and
// '\' escaped inside them, then the value's own escapes ('\' doubled, line ends as
// \n), and '%' written as "%%" so that it is no field code.
QString desktopExecArgument(const QString& program);

// The whole entry: name, comment and the program to start; no icon, working folder
// or arguments.
QString desktopEntryText(const QString& name, const QString& comment, const QString& program);

// Writes the entry whole (temporary file, then rename) and makes it executable, which
// desktops ask of a launcher on the desktop.
bool writeDesktopEntry(const std::filesystem::path& file, const QString& text);

} // namespace kuvela::setup
