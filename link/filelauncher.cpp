#include "link/filelauncher.h"

#include <cstdlib>
#include <sstream>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace vespario {

namespace {

// The program as the PATH finds it; empty when there is none that may be run.
std::string FindProgram(const std::string &name) {
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return ::access(name.c_str(), X_OK) == 0 ? name : std::string();
    const char *path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// Starts argv through a shell that leaves it running in the background and ends at once, so
// that no child is left for this program to wait for.
bool StartDetached(const std::vector<std::string> &argv) {
    std::vector<std::string> args = {"sh", "-c", "\"$@\" >/dev/null 2>&1 </dev/null &", "sh"};
    args.insert(args.end(), argv.begin(), argv.end());
    std::vector<char *> raw;
    for (std::string &a : args)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, raw.data(), environ) != 0)
        return false;
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

HelperChoice ChooseHelper(const std::vector<std::string> &helperEntries, std::string_view target) {
    for (const std::string &entry : helperEntries) {
        std::size_t separator = entry.find('\t');
        if (separator == std::string::npos)
            separator = entry.find(' ');
        if (separator == std::string::npos)
            separator = entry.find(',');
        HelperChoice choice;
        if (separator == std::string::npos) {
            choice.lookFor = ".unknown:";
            choice.command = "notepad.exe";
        } else {
            choice.lookFor = entry.substr(0, separator);
            const std::string rest = entry.substr(separator + 1);
            choice.command = rest.substr(0, rest.find(','));
        }
        if (!choice.lookFor.empty() && target.find(choice.lookFor) != std::string_view::npos) {
            choice.chosen = true;
            return choice;
        }
    }
    return {};
}

LaunchResult LaunchFile(const std::vector<std::string> &helperEntries, const std::string &path) {
    LaunchResult result;
    const HelperChoice choice = ChooseHelper(helperEntries, path);
    std::istringstream words(choice.chosen ? choice.command : std::string());
    for (std::string word; words >> word;)
        result.argv.push_back(word);
    if (result.argv.empty())
        result.argv.push_back("xdg-open");
    result.argv.push_back(path);
    const std::string program = FindProgram(result.argv.front());
    if (program.empty())
        return result;
    result.argv.front() = program;
    result.ok = StartDetached(result.argv);
    return result;
}

} // namespace vespario
