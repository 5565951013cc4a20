#pragma once
// Opening a file with the program the user assigned to it: the first Helper Apps entry whose
// look-for text occurs in the file's name, else the desktop's default program for it
// (xdg-open, standing in for the shell's file association). Only files: web addresses with
// their browser conversations and form posts go through the web services' runner.

#include <string>
#include <string_view>
#include <vector>

namespace vespario {

struct HelperChoice {
    bool chosen = false; // an entry's look-for text occurs in the target
    std::string lookFor;
    std::string command; // may be empty: the desktop's default program then opens it
};

// ChooseHelper: the first entry whose look-for text occurs in target (case-sensitive). An
// entry is "look-for", a tab (else the first blank, else the first comma), then the command
// up to the first comma; one without any of them reads as ".unknown:" with "notepad.exe".
HelperChoice ChooseHelper(const std::vector<std::string> &helperEntries, std::string_view target);

struct LaunchResult {
    bool ok = false;
    std::vector<std::string> argv; // what was started
};

// LaunchFile: starts the chosen helper's command (its words, then the path as one more
// argument) or "xdg-open path", without waiting for it to end. Fails when the program is
// not found on the PATH or cannot be started.
[[nodiscard]] LaunchResult LaunchFile(const std::vector<std::string> &helperEntries,
                                      const std::string &path);

} // namespace vespario
