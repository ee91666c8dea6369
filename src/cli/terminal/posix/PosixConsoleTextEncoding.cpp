#include "cli/terminal/ConsoleTextEncoding.h"

namespace orv::cli {

ConsoleTextEncoding::ConsoleTextEncoding() = default;

ConsoleTextEncoding::~ConsoleTextEncoding() = default;

}  // namespace orv::cli
