#include "cli/CliText.h"
#include "engine/text/Utf8.h"

namespace orv::cli {

std::string ToCliText(const std::wstring& text) {
    return engine::ToUtf8(text);
}

std::wstring FromCliText(const std::string& bytes) {
    return engine::FromUtf8(bytes);
}

std::string CliTextEncodingName() {
    return "UTF-8";
}

}  // namespace orv::cli
