#pragma once
// The program's arguments as the command line works with them: in the command line's text
// (CliText.h), as every file name and message of the CLI is. Each system has its
// own constructor (posix/, win32/), chosen by the build.

#include <string>
#include <vector>

namespace orv::cli {

class ProgramArguments {
public:
    // POSIX: the arguments as they came; they are bytes there, and paths must stay bytes.
    // Windows: the wide arguments of the command line as UTF-8, not the C runtime's, which
    // turns a character the ANSI code page lacks into a look-alike that may name another
    // file. An argument that is no text (a lone surrogate) is refused: throws
    // std::runtime_error naming its position.
    ProgramArguments(int argc, char** argv);

    int count() const { return static_cast<int>(texts_.size()); }
    // `count()` texts and a null after them, as main's argv.
    const char* const* values() const { return pointers_.data(); }

private:
    void Keep(std::vector<std::string> texts);

    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

}  // namespace orv::cli
