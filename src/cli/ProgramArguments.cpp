#include "cli/ProgramArguments.h"

#include <utility>

namespace orv::cli {

void ProgramArguments::Keep(std::vector<std::string> texts) {
    texts_ = std::move(texts);
    pointers_.clear();
    for (const std::string& text : texts_) pointers_.push_back(text.c_str());
    pointers_.push_back(nullptr);
}

}  // namespace orv::cli
