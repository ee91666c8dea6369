#pragma once
// A folder made new for one run, under a folder that others may share (the system's folder for
// temporary files): its name is drawn at random, and a name that is already there is never
// taken over (another run's folder, or one that another user put there in advance), but another
// is drawn.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace orv::cli {

// `length` letters and digits, drawn anew at each call.
using RandomName = std::function<std::string(std::size_t length)>;

// Letters and digits from the system's source of random numbers (std::random_device).
RandomName SystemRandomName();

// Makes the folder `parent`/`prefix` + six random letters and digits, open to the user alone
// (PrivateFolder.h), and returns its path. Draws another name when one is already there, up to
// 100 names. Throws std::runtime_error with the system's reason when a folder cannot be made
// (the parent is missing, or not writable), or "every name tried is taken"; nothing is left
// behind then.
std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent,
                                       const std::string& prefix,
                                       const RandomName& random = SystemRandomName());

}  // namespace orv::cli
