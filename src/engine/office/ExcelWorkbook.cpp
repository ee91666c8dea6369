#include "engine/office/ExcelWorkbook.h"

#include "engine/model/EngineError.h"
#include "engine/office/OpcPackage.h"

namespace orv::engine {

DocumentText ReadExcelBytes(std::string_view bytes) {
    const OpcPackage package(bytes);  // a damaged or hostile container is refused first
    RaiseEngineError(L"Excel files are not read yet");
}

}  // namespace orv::engine
