#include "cli/CliText.h"
#include "platform/NarrowText.h"

namespace orv::cli {

std::string ToCliText(const std::wstring& text) {
    return ToNarrow(text);
}

std::wstring FromCliText(const std::string& bytes) {
    return FromNarrow(bytes);
}

std::string CliTextEncodingName() {
    return NarrowEncodingName();
}

}  // namespace orv::cli
