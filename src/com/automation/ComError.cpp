#include "com/automation/ComError.h"

#include <new>

#include "com/automation/ComText.h"
#include "platform/NarrowText.h"

namespace orv::com {

namespace {

// The system's own text for an HRESULT, as clients show it when a server gave none.
std::wstring SystemMessage(HRESULT hr) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) {
        wchar_t hex[32];
        swprintf(hex, std::size(hex), L"Automation error 0x%08lX", static_cast<unsigned long>(hr));
        text = hex;
    }
    return text;
}

// The thread's error info, taken (so it cannot be mistaken for a later call's).
bool TakeErrorInfo(std::wstring& source, std::wstring& description) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info) return false;
    OwnedBstr sourceText, descriptionText;
    info->GetSource(sourceText.out());
    info->GetDescription(descriptionText.out());
    info->Release();
    source = TextOf(sourceText.get());
    description = TextOf(descriptionText.get());
    return true;
}

}  // namespace

HRESULT HresultFromErrorNumber(int32_t number) {
    if (number < 0) return static_cast<HRESULT>(number);
    if (number == 0 || number > 0xFFFF) return E_FAIL;
    return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
}

int32_t ErrorNumberFromHresult(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL && FAILED(hr)) return HRESULT_CODE(hr);
    return static_cast<int32_t>(hr);
}

HRESULT ReportError(const AutomationError& error, REFIID iid) {
    const HRESULT hr = HresultFromErrorNumber(error.number());
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create))) return hr;
    create->SetGUID(iid);
    // An empty source stays unset: the client then fills in its own, as it does for the
    // component's numbered errors.
    if (!error.source().empty()) create->SetSource(const_cast<LPOLESTR>(error.source().c_str()));
    create->SetDescription(const_cast<LPOLESTR>(error.description().c_str()));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
    }
    create->Release();
    return hr;
}

HRESULT ReportCurrentException(REFIID iid) noexcept {
    try {
        throw;
    } catch (const AutomationError& error) {
        try {
            return ReportError(error, iid);
        } catch (...) {
            return HresultFromErrorNumber(error.number());
        }
    } catch (const std::bad_alloc&) {
        SetErrorInfo(0, nullptr);
        return E_OUTOFMEMORY;
    } catch (const std::exception& error) {
        try {
            return ReportError(AutomationError(static_cast<int32_t>(E_UNEXPECTED),
                                               kRuntimeErrorSource, FromNarrow(error.what())),
                               iid);
        } catch (...) {
            return E_UNEXPECTED;
        }
    } catch (...) {
        SetErrorInfo(0, nullptr);
        return E_UNEXPECTED;
    }
}

AutomationError ErrorFromInvoke(HRESULT hr, EXCEPINFO* info) {
    if (hr == DISP_E_EXCEPTION && info) {
        if (info->pfnDeferredFillIn) info->pfnDeferredFillIn(info);
        const HRESULT code = info->scode   ? info->scode
                             : info->wCode ? HresultFromErrorNumber(info->wCode)
                                           : E_FAIL;
        std::wstring description = TextOf(info->bstrDescription);
        if (description.empty()) description = SystemMessage(code);
        AutomationError error(info->wCode ? info->wCode : ErrorNumberFromHresult(code),
                              TextOf(info->bstrSource), std::move(description));
        SysFreeString(info->bstrSource);
        SysFreeString(info->bstrDescription);
        SysFreeString(info->bstrHelpFile);
        info->bstrSource = info->bstrDescription = info->bstrHelpFile = nullptr;
        return error;
    }
    return ErrorFromHresult(hr);
}

AutomationError ErrorFromHresult(HRESULT hr) {
    std::wstring source, description;
    if (!TakeErrorInfo(source, description) || description.empty()) description = SystemMessage(hr);
    return AutomationError(ErrorNumberFromHresult(hr), std::move(source), std::move(description));
}

}  // namespace orv::com
