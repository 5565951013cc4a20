#pragma once
// Where the profile "Vespario.ini" lives: in the profile folder ($XDG_CONFIG_HOME/Vespario,
// standing in for the other platform's Windows directory). A profile that exists only in
// the current folder, left there by an older installation, is moved into the profile folder
// at start-up.

#include <string>

namespace vespario {

inline constexpr const char *kProfileFileName = "Vespario.ini";

struct ProfileLocation {
    std::string path;   // the profile to load: profileFolder/Vespario.ini
    bool moved = false; // true when it was moved here from the current folder
    std::string error;  // why a move that was due did not happen; the profile is then read
                        // from the current folder, so that no setting is lost
};

// Finds the profile at start-up, before anything is read from it: profileFolder's profile,
// or the current folder's moved there when only that one exists. The profile folder is
// created when a profile is moved into it. A move across file systems copies the file and removes
// the old one only once the copy is written.
ProfileLocation LocateProfile(const std::string &profileFolder, const std::string &currentFolder);

} // namespace vespario
