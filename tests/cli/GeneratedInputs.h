#pragma once
// Inputs too large to keep in the repository, generated into a test's folder: enough work
// that a signal sent while it runs finds it still running.

#include <filesystem>

namespace orv::cli::test {

// `documents` text documents of 100 generated sentences each, in `folder` (made if missing).
void WriteLargeBatch(const std::filesystem::path& folder, int documents);

// A TMX of `units` en-GB/de-DE units with distinct sentences, open to every user.
void WriteLargeTmx(const std::filesystem::path& file, int units);

}  // namespace orv::cli::test
