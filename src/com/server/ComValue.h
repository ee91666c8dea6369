#pragma once
// How a value of the component travels through a dual interface: ComValue<T>::Com is the
// type of the interface's parameter, In converts what a client passed, Out what is handed
// back (a BSTR the caller frees).

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <string>

#include "OrvBatchAnalyse_h.h"
#include "com/automation/ComText.h"
#include "front/TsExportFileType.h"

namespace orv::com {

template <typename T>
struct ComValue;

template <>
struct ComValue<bool> {
    using Com = VARIANT_BOOL;
    // Any value other than False is True, as automation clients treat it.
    static bool In(VARIANT_BOOL value) { return value != VARIANT_FALSE; }
    static VARIANT_BOOL Out(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }
};

template <>
struct ComValue<int32_t> {
    using Com = LONG;
    static int32_t In(LONG value) { return static_cast<int32_t>(value); }
    static LONG Out(int32_t value) { return static_cast<LONG>(value); }
};

template <>
struct ComValue<double> {
    using Com = DOUBLE;
    static double In(DOUBLE value) { return value; }
    static DOUBLE Out(double value) { return value; }
};

template <>
struct ComValue<std::wstring> {
    using Com = BSTR;
    static std::wstring In(BSTR value) { return TextOf(value); }
    static BSTR Out(const std::wstring& value) { return OwnedBstr(value).Release(); }
};

// Any 32-bit value passes, named by the enumeration or not.
template <>
struct ComValue<orv::TsExportFileType> {
    using Com = ::TsExportFileType;
    static orv::TsExportFileType In(::TsExportFileType value) {
        return static_cast<orv::TsExportFileType>(value);
    }
    static ::TsExportFileType Out(orv::TsExportFileType value) {
        return static_cast<::TsExportFileType>(value);
    }
};

}  // namespace orv::com
