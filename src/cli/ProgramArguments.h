#pragma once
// The program's arguments as the command line works with them: text in the system's narrow
// encoding (NarrowText.h), as every file name and message of the CLI is. Each system has its
// own constructor (posix/, win32/), chosen by the build.

#include <string>
#include <vector>

namespace orv::cli {

class ProgramArguments {
public:
    // POSIX: the arguments as they came; they are bytes there, and paths must stay bytes.
    // Windows: the wide arguments of the command line, converted with ToNarrow rather than by
    // the C runtime, which turns a character the ANSI code page lacks into a look-alike that
    // may name another file. An argument that the code page cannot hold is refused: throws
    // std::runtime_error naming its position and the code page.
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
