#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
    return tsumugi::cli::Run(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
