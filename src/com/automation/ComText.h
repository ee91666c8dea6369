#pragma once
// Automation strings and variants owned by the C++ scope that holds them.

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <string>
#include <utility>

namespace orv::com {

// A BSTR freed on destruction; Release hands it over (an [out] BSTR, a VARIANT).
class OwnedBstr {
public:
    OwnedBstr() = default;
    // Copies the text, NULs inside included; std::bad_alloc when the system has no memory.
    explicit OwnedBstr(const std::wstring& text);
    OwnedBstr(OwnedBstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
    OwnedBstr& operator=(OwnedBstr&& other) noexcept {
        std::swap(bstr_, other.bstr_);
        return *this;
    }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
    ~OwnedBstr() { SysFreeString(bstr_); }

    BSTR get() const noexcept { return bstr_; }
    BSTR* out() noexcept {  // for a call that writes a new BSTR here
        SysFreeString(std::exchange(bstr_, nullptr));
        return &bstr_;
    }
    BSTR Release() noexcept { return std::exchange(bstr_, nullptr); }

private:
    BSTR bstr_ = nullptr;
};

// The text of a BSTR (a null BSTR is the empty text), its whole length, NULs included.
std::wstring TextOf(BSTR bstr);

// A VARIANT cleared on destruction.
class OwnedVariant {
public:
    OwnedVariant() noexcept { VariantInit(&value_); }
    // A String; std::bad_alloc when the system has no memory.
    static OwnedVariant FromString(const std::wstring& text);
    static OwnedVariant FromLong(int32_t number) noexcept;
    static OwnedVariant FromBoolean(bool flag) noexcept;
    OwnedVariant(OwnedVariant&& other) noexcept : value_(other.Release()) {}
    OwnedVariant& operator=(OwnedVariant&& other) noexcept {
        if (this != &other) {
            VariantClear(&value_);
            value_ = other.Release();
        }
        return *this;
    }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
    ~OwnedVariant() { VariantClear(&value_); }

    VARIANT* get() noexcept { return &value_; }
    const VARIANT* get() const noexcept { return &value_; }
    VARIANT* out() noexcept {  // for a call that writes a new value here
        VariantClear(&value_);
        return &value_;
    }
    VARIANT Release() noexcept {  // hands the value over; this holds VT_EMPTY afterwards
        VARIANT taken = value_;
        VariantInit(&value_);
        return taken;
    }

private:
    VARIANT value_;
};

}  // namespace orv::com
