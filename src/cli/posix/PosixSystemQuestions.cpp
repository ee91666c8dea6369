#include <unistd.h>

#include "cli/SystemQuestions.h"

namespace orv::cli {

bool FolderIsWritable(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

std::tm LocalTime(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

}  // namespace orv::cli
