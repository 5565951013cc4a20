#include "settings/profilelocation.h"

#include "platform/files.h"

namespace vespario {

namespace {

// Moves from to to, also across file systems where a rename cannot.
bool MoveFile(const std::string &from, const std::string &to, std::string &error) {
    if (platform::RenameFile(from, to))
        return true;
    const auto data = platform::ReadWholeFile(from, &error);
    if (!data || !platform::WriteWholeFileAtomic(to, *data, &error))
        return false;
    // The copy is in place; an old file that cannot be removed is only left behind.
    platform::DeleteFile(from);
    return true;
}

} // namespace

ProfileLocation LocateProfile(const std::string &profileFolder, const std::string &currentFolder) {
    ProfileLocation location;
    location.path = profileFolder + "/" + kProfileFileName;
    const std::string current = currentFolder + "/" + kProfileFileName;
    if (platform::FileExists(location.path) || !platform::FileExists(current))
        return location;
    if (!platform::CreateFolders(profileFolder)) {
        location.error = "cannot create the folder " + profileFolder;
    } else if (MoveFile(current, location.path, location.error)) {
        location.moved = true;
        return location;
    }
    location.path = current;
    return location;
}

} // namespace vespario
