#pragma once
// A test against the registered doubles: each test starts and ends with the doubles reset
// (no application running, settings as new), and reaches them as the component does,
// through ComObjectServices.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "com/client/ComObjectServices.h"
#include "support/DoublesControl.h"
#include "support/TempFolder.h"
#include "tessera/TessappApplication.h"

namespace orv::test {

class DoublesTest : public ::testing::Test {
protected:
    void SetUp() override { control.Reset(); }
    void TearDown() override { control.Reset(); }

    // A new Tessera double; fails the test when there is none.
    std::shared_ptr<TessappApplication> NewTessera();
    // The current TM of a new Tessera, opened on a TM file in the test's folder.
    std::shared_ptr<TessappTM> OpenedTM(const std::shared_ptr<TessappApplication>& tessera);
    // A job file in the test's folder naming the log `run.log` beside it and `documents`.
    std::wstring JobFile(int documents = 1);

    DoublesControl control;
    com::ComObjectServices services;
    TempFolder folder;
};

// Text for failure messages, characters outside ASCII as "?".
std::string Narrow(const std::wstring& text);

}  // namespace orv::test
