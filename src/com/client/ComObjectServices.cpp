#include "com/client/ComObjectServices.h"

#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <optional>
#include <utility>

#include "com/client/ComLateBoundObject.h"
#include "com/client/ComTesseraApplication.h"
#include "platform/AutomationError.h"

namespace orv::com {
namespace {

using Microsoft::WRL::ComPtr;

// The class registered under `progId`; none when there is no such registration.
std::optional<CLSID> RegisteredClass(const std::wstring& progId) {
    CLSID classId{};
    if (FAILED(CLSIDFromProgID(progId.c_str(), &classId))) return std::nullopt;
    return classId;
}

// A new object of the class, or none when the class (or its server) is not registered.
ComPtr<IDispatch> CreateObject(const std::wstring& progId) {
    const auto classId = RegisteredClass(progId);
    if (!classId) return nullptr;
    ComPtr<IDispatch> object;
    const HRESULT hr = CoCreateInstance(*classId, nullptr, CLSCTX_SERVER, IID_PPV_ARGS(&object));
    if (hr == REGDB_E_CLASSNOTREG || hr == CO_E_APPNOTFOUND) return nullptr;
    // Whatever else kept the object from being made (its server failed to start or refused,
    // no automation interface, no apartment on this thread) is the client's "cannot create".
    if (FAILED(hr) || !object) RaiseRuntimeError(kErrCannotCreateObject);
    return object;
}

// The running object of the class, or none.
ComPtr<IDispatch> RunningObject(const std::wstring& progId) {
    const auto classId = RegisteredClass(progId);
    if (!classId) return nullptr;
    ComPtr<IUnknown> running;
    if (FAILED(GetActiveObject(*classId, nullptr, &running)) || !running) return nullptr;
    ComPtr<IDispatch> object;
    if (FAILED(running.As(&object))) return nullptr;
    return object;
}

std::shared_ptr<TessappApplication> TesseraFor(ComPtr<IDispatch> object) {
    if (!object) return nullptr;
    return std::make_shared<ComTesseraApplication>(std::move(object));
}

std::shared_ptr<LateBoundObject> LateBoundFor(ComPtr<IDispatch> object) {
    if (!object) return nullptr;
    return std::make_shared<ComLateBoundObject>(std::move(object));
}

}  // namespace

ComObjectServices::ComObjectServices(std::wstring tesseraProgId, std::wstring wordProgId)
    : tesseraProgId_(std::move(tesseraProgId)), wordProgId_(std::move(wordProgId)) {}

std::shared_ptr<TessappApplication> ComObjectServices::CreateTessera() {
    return TesseraFor(CreateObject(tesseraProgId_));
}

std::shared_ptr<TessappApplication> ComObjectServices::LookUpTessera() {
    return TesseraFor(RunningObject(tesseraProgId_));
}

std::shared_ptr<LateBoundObject> ComObjectServices::CreateWord() {
    return LateBoundFor(CreateObject(wordProgId_));
}

std::shared_ptr<LateBoundObject> ComObjectServices::LookUpWord() {
    return LateBoundFor(RunningObject(wordProgId_));
}

}  // namespace orv::com
