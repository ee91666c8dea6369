#pragma once
// The bundled example copied into a temporary folder (as ex/, with an empty tmp/ beside it),
// and orvbatch run in that folder as a user runs it: the job file's folder inside it, and no
// password from the test's own environment.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "support/TempFolder.h"

namespace orv::cli::test {

class ExampleFolder : public ::testing::Test {
protected:
    ExampleFolder();

    // This process's environment for orvbatch, with `more` applied over TEMP and the password.
    std::map<std::string, std::string> Environment(
        std::map<std::string, std::string> more = {}) const;

    ProgramResult Run(const std::vector<std::string>& arguments,
                      std::map<std::string, std::string> environment = {},
                      const std::string& input = "") const;

    orv::test::TempFolder folder;
};

}  // namespace orv::cli::test
