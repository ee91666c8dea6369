#include "cli/tm/IniFileText.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "cli/tm/UsageError.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"

namespace orv::cli {

std::vector<std::wstring> ReadIniFileLines(const std::filesystem::path& file,
                                           const std::string& what) {
    const std::string cannotRead = "cannot read the " + what + " " + NarrowPathText(file);
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        throw UsageError(cannotRead + ": it is a folder");
    std::ifstream in(file, std::ios::binary);
    if (!in) throw UsageError(cannotRead + ": " + std::strerror(errno));
    std::string bytes(kLargestIniFile + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) throw UsageError(cannotRead);
    if (in.gcount() > static_cast<std::streamsize>(kLargestIniFile))
        throw UsageError(cannotRead + ": it is larger than an INI file can be (1 MiB)");
    bytes.resize(static_cast<std::size_t>(in.gcount()));

    const std::wstring text = FromTextFileBytes(bytes);
    std::vector<std::wstring> lines;
    std::wistringstream stream(text);
    for (std::wstring line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace orv::cli
