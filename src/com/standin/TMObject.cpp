#include "com/standin/TMObject.h"

#include <new>

#include "com/objects/DispatchError.h"
#include "com/standin/TesseraIds.h"

namespace orv::com {
namespace {

using objects::DispatchCall;

// The languages as a zero-based array of Variants, each a Long: the array a script can
// index (VBScript reads no array of another element type).
OwnedVariant LongArray(const std::vector<int32_t>& values) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), 0};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (!array) throw std::bad_alloc();
    OwnedVariant result;
    V_VT(result.get()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(result.get()) = array;
    for (LONG i = 0; i < static_cast<LONG>(values.size()); ++i) {
        OwnedVariant value = OwnedVariant::FromLong(values[static_cast<size_t>(i)]);
        const HRESULT put = SafeArrayPutElement(array, &i, value.get());
        if (FAILED(put)) throw objects::DispatchError::Status(put);
    }
    return result;
}

}  // namespace

TMObject::TMObject(std::shared_ptr<TessappTM> tm,
                   std::shared_ptr<const ApplicationPresence> presence)
    : NamedDispatchObject(L"Tessapp"), tm_(std::move(tm)), presence_(std::move(presence)) {
    AddProperty(L"IsOpen", [this](DispatchCall& call) {
        call.Return(OwnedVariant::FromBoolean(tm_->get_IsOpen()));
    });
    AddMethod(L"Open", [this](DispatchCall& call) {
        call.ExpectArguments(4);
        tm_->Open(call.String(0), call.String(1), call.String(2), call.String(3));
    });
    AddMethod(L"Close", [this](DispatchCall& call) {
        call.ExpectArguments(0);
        tm_->Close();
    });
    AddProperty(L"SourceLanguage", [this](DispatchCall& call) {
        call.Return(OwnedVariant::FromLong(tm_->get_SourceLanguage()));
    });
    AddProperty(L"TargetLanguages",
                [this](DispatchCall& call) { call.Return(LongArray(tm_->get_TargetLanguages())); });
    AddProperty(L"TargetLanguage", {},
                [this](DispatchCall& call) { tm_->put_TargetLanguage(call.Long(0)); });
    AddMethod(L"ExecuteJobFile", [this](DispatchCall& call) {
        call.ExpectArguments(1);
        tm_->ExecuteJobFile(call.String(0));
    });
}

void* TMObject::OtherInterface(REFIID iid) {
    return iid == kTessappTMId ? static_cast<IDispatch*>(this) : nullptr;
}

}  // namespace orv::com
