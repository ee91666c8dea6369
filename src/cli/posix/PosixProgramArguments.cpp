#include "cli/ProgramArguments.h"

namespace orv::cli {

ProgramArguments::ProgramArguments(int argc, char** argv) {
    Keep(std::vector<std::string>(argv, argv + argc));
}

}  // namespace orv::cli
