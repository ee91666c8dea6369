#include "jobfile/modTools.h"

namespace orv::modTools {

std::vector<std::wstring> ArrayToCollection(const std::vector<std::wstring>& fields) {
    return fields;
}

}  // namespace orv::modTools
