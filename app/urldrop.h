#pragma once
// What a drop onto the URL view inserts, in the URL field's own form: a dropped Internet
// shortcut (a Windows ".URL" file or a freedesktop ".desktop" link, both carrying a "URL="
// line) becomes "{address}description\r\n"; any other dropped file "{full path}\r\n".

#include <optional>
#include <string>
#include <string_view>

namespace vespario {

// The address of a shortcut's contents: the rest of the first line that begins "URL=",
// when the contents begin with "[" (an ini-style shortcut file); nullopt otherwise.
std::optional<std::string> ShortcutAddress(std::string_view contents);

// The description of a shortcut: its file name without the folder, without a leading
// "Shortcut to " and without a trailing ".URL" or ".desktop" (any case).
std::string ShortcutDescription(std::string_view path);

// The entry for one dropped file; contents are the file's bytes (nullopt when unreadable).
std::string UrlDropEntry(std::string_view path, const std::optional<std::string> &contents);

} // namespace vespario
