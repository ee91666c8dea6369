#pragma once
// A command line or an input file the user has to correct: orvbatch reports it and exits with
// status 2. The message says what was wrong and, where it can, what was meant.

#include <stdexcept>

namespace orv::cli {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace orv::cli
