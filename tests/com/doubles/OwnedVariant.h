#pragma once
// A VARIANT with one owner: cleared when the owner goes, moved but never copied.

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <string>

namespace orv::testdoubles {

class OwnedVariant {
public:
    OwnedVariant() noexcept { VariantInit(&value_); }
    // Takes over `value`, which is left empty.
    static OwnedVariant Adopt(VARIANT& value) noexcept;
    static OwnedVariant FromString(const std::wstring& text);
    static OwnedVariant FromLong(int32_t number) noexcept;
    static OwnedVariant FromBoolean(bool flag) noexcept;

    OwnedVariant(OwnedVariant&& other) noexcept;
    OwnedVariant& operator=(OwnedVariant&& other) noexcept;
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
    ~OwnedVariant() { VariantClear(&value_); }

    VARIANT& get() noexcept { return value_; }
    const VARIANT& get() const noexcept { return value_; }
    // Hands the value over to `target` (a result the caller owns from now on).
    void MoveTo(VARIANT& target) noexcept;

private:
    VARIANT value_;
};

}  // namespace orv::testdoubles
