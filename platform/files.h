#pragma once
// Plain file helpers and the program's folders. Paths are byte strings with "/" as the
// separator; where the Windows program cut a path at its last backslash, these cut at the
// last slash.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vespario::platform {

// True when path names an existing file that is not a folder (links are followed).
bool FileExists(const std::string &path);

// Renames from to to, replacing an existing file at to. False when it did not happen.
bool RenameFile(const std::string &from, const std::string &to);

// Removes a file (never a folder). False when nothing was removed, also when it was missing.
bool DeleteFile(const std::string &path);

// The whole file as bytes, or nullopt when it cannot be read (error, when given, then says
// why).
std::optional<std::string> ReadWholeFile(const std::string &path, std::string *error = nullptr);

std::optional<uint64_t> FileSize(const std::string &path);

// Writes data to path through a temporary file in the same folder that is renamed over the
// old file only once it is completely written and flushed, so that a failed write leaves the
// old file as it was. A symbolic link at path is kept and its target replaced. The new file
// keeps the old one's permissions. False, with error (when given) set, on any failure.
bool WriteWholeFileAtomic(const std::string &path, std::string_view data,
                          std::string *error = nullptr);

// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateFolders(const std::string &path);

// The text of path up to its last "/" (without it); empty for a bare file name.
std::string FolderOf(const std::string &path);

// Cuts path at the last "." after its last "/" and appends ext; a path without an extension
// gets ext appended. ext is given with its dot (".bak"); one without a dot gets one, and an
// empty ext removes the extension.
std::string ReplaceExtension(const std::string &path, std::string_view ext);

// The read-only files that ship with the program: $VESPARIO_DATA_DIR when set, else the
// installed share/vespario beside the executable's bin folder, else the source tree's data/
// (when run from the build tree).
std::string DataDir();

// Where the profile and the files the program writes "beside the program" live:
// $XDG_CONFIG_HOME/Vespario, by default ~/.config/Vespario.
std::string ProfileDir();

// Test hook: makes WriteWholeFileAtomic fail at the given step until reset to None.
enum class WriteFault { None, Create, Write, Rename };
void SetWriteFaultForTesting(WriteFault fault);

} // namespace vespario::platform
