#include "cli/UniqueFolder.h"

#include <random>
#include <stdexcept>

#include "cli/PrivateFolder.h"

namespace orv::cli {
namespace {

constexpr std::size_t kRandomLength = 6;
constexpr int kMostNames = 100;

}  // namespace

RandomName SystemRandomName() {
    return [](std::size_t length) {
        static constexpr char kAlphabet[] =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        // A new device each time: no state is shared between threads, and two runs started in
        // the same instant draw different names.
        std::random_device device;
        std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
        std::string name(length, ' ');
        for (char& c : name) c = kAlphabet[pick(device)];
        return name;
    };
}

std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent,
                                       const std::string& prefix, const RandomName& random) {
    for (int attempt = 0; attempt < kMostNames; ++attempt) {
        const std::filesystem::path folder = parent / (prefix + random(kRandomLength));
        if (MakePrivateFolder(folder)) return folder;
    }
    throw std::runtime_error("every name tried is taken");
}

}  // namespace orv::cli
