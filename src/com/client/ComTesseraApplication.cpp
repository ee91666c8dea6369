#include "com/client/ComTesseraApplication.h"

#include <utility>

#include "com/client/VariantValues.h"

namespace orv::com {

ComTesseraApplication::ComTesseraApplication(Microsoft::WRL::ComPtr<IDispatch> application)
    : dispatch_(std::move(application)),
      sink_(BatchEventSink::Create(
          [this](int32_t processedFiles) { OnBatchCancelledByUser.Raise(processedFiles); })),
      events_(dispatch_.object(), kTesseraBatchEventsInterfaceId, sink_.Get()) {}

ComTesseraApplication::~ComTesseraApplication() {
    // Detached before the connection ends: an application may still hold the sink (or fire
    // it) after Unadvise, and this object is going.
    sink_->Detach();
    events_.Reset();
}

Microsoft::WRL::ComPtr<IDispatch> ComTesseraApplication::Object(const wchar_t* property) {
    return ObjectOf(*dispatch_.Get(property).get());
}

std::shared_ptr<TessappTM> ComTesseraApplication::get_CurrentTM() {
    return currentTM_.For(Object(L"CurrentTM"));
}

#define ORV_COM_GROUP_GETTER(group, list)                                  \
    std::shared_ptr<Tessapp##group> ComTesseraApplication::get_##group() { \
        return group##_.For(Object(L## #group));                           \
    }
ORV_OPTION_GROUPS(ORV_COM_GROUP_GETTER)
#undef ORV_COM_GROUP_GETTER

void ComTesseraApplication::Quit() {
    dispatch_.Call(L"Quit");
}

void ComTesseraApplication::CreateTM(const std::wstring& path, const std::wstring& note1,
                                     int32_t sourceLanguage, const std::wstring& note2,
                                     int32_t targetLanguage, const std::wstring& note3,
                                     int32_t number1, int32_t number2, int32_t number3,
                                     int32_t number4, int32_t number5, int32_t number6,
                                     int32_t number7, const std::wstring& text1,
                                     const std::wstring& text2, const std::wstring& text3) {
    DispatchArguments arguments;
    arguments.Add(VariantFrom(path))
        .Add(VariantFrom(note1))
        .Add(VariantFrom(sourceLanguage))
        .Add(VariantFrom(note2))
        .Add(VariantFrom(targetLanguage))
        .Add(VariantFrom(note3));
    for (const int32_t number : {number1, number2, number3, number4, number5, number6, number7})
        arguments.Add(VariantFrom(number));
    arguments.Add(VariantFrom(text1)).Add(VariantFrom(text2)).Add(VariantFrom(text3));
    dispatch_.Call(L"CreateTM", std::move(arguments));
}

}  // namespace orv::com
