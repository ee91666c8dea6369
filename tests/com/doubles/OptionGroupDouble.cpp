#include "OptionGroupDouble.h"

#include <string>

#include "DoublesState.h"

namespace orv::testdoubles {
namespace {

OwnedVariant InitialValue(VARTYPE type) {
    switch (type) {
        case VT_BOOL:
            return OwnedVariant::FromBoolean(false);
        case VT_I4:
            return OwnedVariant::FromLong(0);
        default:
            return OwnedVariant::FromString(L"");
    }
}

std::wstring WrittenText(const VARIANT& value) {
    switch (value.vt) {
        case VT_BOOL:
            return value.boolVal != VARIANT_FALSE ? L"True" : L"False";
        case VT_I4:
            return std::to_wstring(value.lVal);
        default:
            return value.bstrVal ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal))
                                 : std::wstring();
    }
}

}  // namespace

OptionGroupDouble::OptionGroupDouble(const OptionGroupShape& shape,
                                     std::shared_ptr<ApplicationLink> link)
    : DispatchObject(shape.group, L"Tessapp"), shape_(shape), link_(std::move(link)) {
    for (size_t i = 0; i < shape_.properties.size(); ++i) {
        values_.push_back(InitialValue(shape_.properties[i].type));
        AddProperty(
            shape_.properties[i].name,
            [this, i](DispatchCall& call) {
                OwnedVariant copy;
                VariantCopy(copy.get(), values_[i].get());
                call.Return(std::move(copy));
            },
            [this, i](DispatchCall& call) { Put(i, call); });
    }
}

void OptionGroupDouble::Put(size_t index, DispatchCall& call) {
    const OptionProperty& property = shape_.properties[index];
    values_[index] = call.Coerced(0, property.type);
    const std::wstring write =
        shape_.group + L"." + property.name + L"=" + WrittenText(*values_[index].get());
    DoublesState::Instance().With(
        [&](DoublesSettings&, DoublesRecord& record) { record.optionWrites.push_back(write); });
}

}  // namespace orv::testdoubles
