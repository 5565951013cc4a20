#pragma once
// Programs started by the tests as real processes, with their output in files.

#include "tempfolder.h"

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace vespario::test {

// Starts a program with its standard output (and, when errors is given, its standard error)
// in a file; returns its process id, -1 when it could not be started.
inline pid_t StartProcess(const std::string &program, const std::vector<std::string> &args,
                          const std::string &output, const std::string &errors = {}) {
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    if (!errors.empty())
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// The exit status of a process that should end by itself; -1 when it did not in time (it is
// then killed) or did not exit normally.
inline int ExitStatus(pid_t pid, int timeoutMs = 8000) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

// Waits until the file holds text.
inline bool WaitForText(const std::string &file, const std::string &text, int timeoutMs = 8000) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (TempFolder::Read(file).find(text) != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace vespario::test
