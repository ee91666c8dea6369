#include <clocale>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/terminal/TerminalAbilities.h"

int main(int argc, char** argv) {
    // File names and messages in the user's encoding, numbers as the user writes them.
    std::setlocale(LC_ALL, "");
    orv::cli::Console console{std::cout, std::cerr, orv::cli::DetectTerminal()};
    return orv::cli::RunCommandLine(argc, argv, console);
}
