#include "engine/app/JobOutputs.h"

#include <cwctype>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "engine/app/FileIdentity.h"
#include "engine/model/EngineError.h"
#include "platform/NativePath.h"
#include "platform/PathSyntax.h"

namespace orv::engine {
namespace {

struct NamedFile {
    std::wstring role;
    std::wstring path;
};

std::optional<FileIdentity> Identity(const std::wstring& path) {
    const auto native = ToNativePath(path);
    if (!native) return std::nullopt;
    return IdentityOf(*native);
}

std::wstring LowerFirst(std::wstring text) {
    if (!text.empty()) text[0] = static_cast<wchar_t>(std::towlower(text[0]));
    return text;
}

}  // namespace

void RefuseOutputsOverInputs(const JobDescription& job, const std::wstring& jobFilePath,
                             const std::wstring& tmPath) {
    std::vector<NamedFile> inputs = {{L"the translation memory", tmPath},
                                     {L"the job file", jobFilePath}};
    for (const auto& document : job.documents)
        inputs.push_back({L"a document of the batch", document});
    if (job.htmlSettingsFile) inputs.push_back({L"the HTML settings file", *job.htmlSettingsFile});
    if (job.sgmlSettingsFile) inputs.push_back({L"the SGML settings file", *job.sgmlSettingsFile});

    std::vector<NamedFile> outputs;
    if (job.logFile && !job.logFile->empty()) {
        outputs.push_back({L"The log file", *job.logFile});
        const std::wstring csv = WithExtension(*job.logFile, L".csv");
        if (csv != *job.logFile) outputs.push_back({L"The CSV log file", csv});
    }
    if (job.exportUnknown)
        outputs.push_back({L"The export of unknown segments", job.exportUnknown->file});
    if (job.exportFrequent)
        outputs.push_back({L"The export of frequent segments", job.exportFrequent->file});
    if (job.projectTM) outputs.push_back({L"The project TM", job.projectTM->file});

    std::vector<std::pair<FileIdentity, const NamedFile*>> written;
    for (const auto& output : outputs) {
        const auto target = Identity(output.path);
        if (!target) continue;  // the write itself will say what is wrong with the name
        for (const auto& input : inputs) {
            if (Identity(input.path) == target)
                RaiseEngineError(output.role + L" " + output.path + L" would overwrite " +
                                 input.role + L"; nothing was written");
        }
        for (const auto& [path, earlier] : written) {
            if (path == *target)
                RaiseEngineError(output.role + L" and " + LowerFirst(earlier->role) +
                                 L" are the same file " + output.path + L"; nothing was written");
        }
        written.emplace_back(*target, &output);
    }
}

}  // namespace orv::engine
