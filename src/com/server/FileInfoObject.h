#pragma once
// The published clsBAFileInfo: one document's record and its statistics.

#include "OrvBatchAnalyse_h.h"
#include "com/server/AutomationObject.h"
#include "com/server/PropertyMacros.h"
#include "results/StatisticsFields.h"
#include "results/clsBAFileInfo.h"

namespace orv::com {

class FileInfoObject final : public AutomationObject<_clsBAFileInfo, clsBAFileInfo> {
public:
    using Published = _clsBAFileInfo;
    static FileInfoObject* Create(std::shared_ptr<clsBAFileInfo> core) {
        return new FileInfoObject(std::move(core));
    }

#define ORV_COUNT_PROPERTY(name) ORV_COM_PROPERTY(int32_t, name)
    ORV_COUNT_FIELDS(ORV_COUNT_PROPERTY)
#undef ORV_COUNT_PROPERTY
    ORV_COM_PROPERTY(double, CharsPerWord)
    ORV_COM_PROPERTY(bool, FileProcessed)
    ORV_COM_PROPERTY(bool, ProcessingError)
    ORV_COM_PROPERTY(std::wstring, FilePath)
    // Only Files.Add gives a record its key.
    ORV_COM_GET(std::wstring, Key)

private:
    explicit FileInfoObject(std::shared_ptr<clsBAFileInfo> core)
        : AutomationObject(std::move(core)) {}
};

}  // namespace orv::com
