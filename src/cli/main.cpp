#include <clocale>
#include <iostream>
#include <stdexcept>

#include "cli/CommandLine.h"
#include "cli/ProgramArguments.h"
#include "cli/terminal/ConsoleTextEncoding.h"
#include "cli/terminal/TerminalAbilities.h"

int main(int argc, char** argv) {
    // File names and messages in the user's encoding, numbers as the user writes them.
    std::setlocale(LC_ALL, "");
    const orv::cli::ConsoleTextEncoding consoleText;
    orv::cli::Console console{std::cout, std::cerr, orv::cli::DetectTerminal()};
    try {
        const orv::cli::ProgramArguments arguments(argc, argv);
        return orv::cli::RunCommandLine(arguments.count(), arguments.values(), console);
    } catch (const std::runtime_error& error) {
        console.err << "orvbatch: error: " << error.what() << "\n";
        return orv::cli::kExitUsage;
    }
}
