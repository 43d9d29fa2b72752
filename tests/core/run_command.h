#pragma once
// Runs a command line through the shell, as a user would run tsumugi-cli, and gathers what
// it writes to stdout and how it ended.
#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdio>
#include <string>

namespace tsumugi::testing {

struct CommandRun {
    int code = -1;  // the exit status; -1 when the command did not start or did not exit
    std::string out;
    std::string err;  // left to the caller, who chooses where stderr goes
};

// arg quoted for the shell, single quotes included.
inline std::string ShellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The commands are written for a POSIX shell (quoting, redirections, /dev/null); on Windows
// the program's own behaviour is compared with the Linux build's by a test on Linux.
#ifdef _WIN32
constexpr bool kPosixShell = false;
#else
constexpr bool kPosixShell = true;
#endif
#define TSUMUGI_NEEDS_POSIX_SHELL() \
    if (!::tsumugi::testing::kPosixShell) GTEST_SKIP() << "runs commands through a POSIX shell"

inline CommandRun RunCommand(const std::string& command) {
    CommandRun run;
#ifdef _WIN32
    (void)command;
    return run;
#else
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
#endif
}

}  // namespace tsumugi::testing
