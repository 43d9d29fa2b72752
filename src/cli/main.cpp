#include <string>
#include <vector>

#include "cli/cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "core/utf16.h"

// Windows hands the arguments over as UTF-16 whatever the code page; they are turned into
// UTF-8 once, here. stdin, stdout and stderr go in binary mode, so the bytes written are
// the bytes the Linux build writes (no LF turned into CR LF, no stop at 0x1A). A console
// is told to show UTF-8 while the program runs.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(tsumugi::Utf8FromWide(argv[i]));
    const UINT consolePage = GetConsoleOutputCP();  // 0 without a console
    if (consolePage != 0) SetConsoleOutputCP(CP_UTF8);
    const int status = tsumugi::cli::Run(args);
    std::fflush(stdout);
    std::fflush(stderr);
    if (consolePage != 0) SetConsoleOutputCP(consolePage);
    return status;
}
#else
int main(int argc, char** argv) {
    return tsumugi::cli::Run(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
#endif
