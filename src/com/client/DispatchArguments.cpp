#include "com/client/DispatchArguments.h"

namespace orv::com {

DispatchArguments::~DispatchArguments() {
    for (VARIANT& value : reversed_) VariantClear(&value);
}

DispatchArguments& DispatchArguments::Add(OwnedVariant value) {
    // Room first: once released, the value must land in the vector or it leaks.
    reversed_.reserve(reversed_.size() + 1);
    reversed_.insert(reversed_.begin(), value.Release());
    return *this;
}

}  // namespace orv::com
