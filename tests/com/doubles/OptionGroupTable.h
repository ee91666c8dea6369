#pragma once
// The seven option groups of the Tessera application as the real application publishes
// them: each property's name and type, in slot order. Kept here on purpose rather than taken
// from the component's own lists, so that a name the component misspells fails as it would
// against the real application.

#include <wtypes.h>

#include <string>
#include <vector>

namespace orv::testdoubles {

struct OptionProperty {
    std::wstring name;
    VARTYPE type;  // VT_BOOL, VT_I4 or VT_BSTR
};

struct OptionGroupShape {
    std::wstring group;  // the application's property that hands the group out
    std::vector<OptionProperty> properties;
};

const std::vector<OptionGroupShape>& OptionGroupShapes();

}  // namespace orv::testdoubles
