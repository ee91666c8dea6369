#include "front/BatchAnalyse.h"

namespace orv {

std::shared_ptr<Files> BatchAnalyse::get_Files() {
    if (!files_) files_ = std::make_shared<Files>();
    return files_;
}

}  // namespace orv
