#include "com/client/ComTesseraTM.h"

#include <utility>

#include "com/client/VariantValues.h"

namespace orv::com {

ComTesseraTM::ComTesseraTM(Microsoft::WRL::ComPtr<IDispatch> tm) : dispatch_(std::move(tm)) {}

int32_t ComTesseraTM::get_SourceLanguage() const {
    return ValueAs<int32_t>(*dispatch_.Get(L"SourceLanguage").get());
}

void ComTesseraTM::Close() {
    dispatch_.Call(L"Close");
}

void ComTesseraTM::Open(const std::wstring& path, const std::wstring& userName,
                        const std::wstring& password, const std::wstring& mode) {
    DispatchArguments arguments;
    arguments.Add(VariantFrom(path))
        .Add(VariantFrom(userName))
        .Add(VariantFrom(password))
        .Add(VariantFrom(mode));
    dispatch_.Call(L"Open", std::move(arguments));
}

void ComTesseraTM::ExecuteJobFile(const std::wstring& jobFilePath) {
    DispatchArguments arguments;
    arguments.Add(VariantFrom(jobFilePath));
    dispatch_.Call(L"ExecuteJobFile", std::move(arguments));
}

std::vector<int32_t> ComTesseraTM::get_TargetLanguages() const {
    return LongsOf(*dispatch_.Get(L"TargetLanguages").get());
}

void ComTesseraTM::put_TargetLanguage(int32_t languageId) {
    dispatch_.Put(L"TargetLanguage", VariantFrom(languageId));
}

bool ComTesseraTM::get_IsOpen() const {
    return ValueAs<bool>(*dispatch_.Get(L"IsOpen").get());
}

}  // namespace orv::com
