// Conversions of what another server hands back: the forms a value may arrive in, and the
// runtime's numbers when it cannot be what the component expects.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <oleauto.h>

#include <functional>
#include <vector>

#include "com/client/DispatchArguments.h"
#include "com/client/VariantValues.h"
#include "platform/AutomationError.h"
#include "support/FakeTessera.h"

namespace orv::test {
namespace {

using com::OwnedVariant;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

OwnedVariant ArrayOf(VARTYPE type, const std::vector<VARIANT>& elements, LONG lower = 0) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(elements.size()), lower};
    OwnedVariant array;
    array.get()->parray = SafeArrayCreate(type, 1, &bound);
    array.get()->vt = static_cast<VARTYPE>(VT_ARRAY | type);
    for (LONG i = 0; i < static_cast<LONG>(elements.size()); ++i) {
        LONG index = lower + i;
        VARIANT element = elements[static_cast<size_t>(i)];
        void* data = type == VT_VARIANT ? static_cast<void*>(&element)
                     : type == VT_BSTR  ? static_cast<void*>(element.bstrVal)
                                        : static_cast<void*>(&element.lVal);
        SafeArrayPutElement(array.get()->parray, &index, data);
        VariantClear(&element);
    }
    return array;
}

VARIANT Long(int32_t value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT Text(const wchar_t* value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(value);
    return v;
}

TEST(LongsOfTest, ReadsTheArrayFormsTesseraMayUse) {
    EXPECT_THAT(com::LongsOf(*ArrayOf(VT_I4, {Long(1031), Long(2057)}).get()),
                ElementsAre(1031, 2057));
    EXPECT_THAT(com::LongsOf(*ArrayOf(VT_VARIANT, {Long(1031), Text(L"2057")}, 1).get()),
                ElementsAre(1031, 2057));
    EXPECT_THAT(com::LongsOf(*ArrayOf(VT_BSTR, {Text(L"1036")}).get()), ElementsAre(1036));
    EXPECT_THAT(com::LongsOf(*ArrayOf(VT_I4, {}).get()), IsEmpty());

    // A Variant by reference to a Variant by reference to the array.
    OwnedVariant array = ArrayOf(VT_VARIANT, {Long(7)});
    VARIANT once{};
    once.vt = VT_BYREF | VT_VARIANT;
    once.pvarVal = array.get();
    EXPECT_THAT(com::LongsOf(once), ElementsAre(7));
    VARIANT inner{}, outer{};
    inner.vt = outer.vt = VT_BYREF | VT_VARIANT;
    inner.pvarVal = array.get();
    outer.pvarVal = &inner;
    EXPECT_THAT(com::LongsOf(outer), ElementsAre(7));

    OwnedVariant empty;
    EXPECT_THAT(com::LongsOf(*empty.get()), IsEmpty());
}

TEST(LongsOfTest, RefusesWhatIsNoListOfNumbers) {
    OwnedVariant scalar = [] {
        OwnedVariant v;
        *v.get() = Long(1031);
        return v;
    }();
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    OwnedVariant square;
    square.get()->parray = SafeArrayCreate(VT_I4, 2, bounds);
    square.get()->vt = VT_ARRAY | VT_I4;

    struct Case {
        const char* name;
        const VARIANT* value;
        int32_t number;
    };
    OwnedVariant words = ArrayOf(VT_BSTR, {Text(L"German")});
    OwnedVariant huge = ArrayOf(VT_BSTR, {Text(L"99999999999")});
    for (const Case& c : {Case{"scalar", scalar.get(), kErrTypeMismatch},
                          Case{"two dimensions", square.get(), kErrTypeMismatch},
                          Case{"words", words.get(), kErrTypeMismatch},
                          Case{"too big", huge.get(), kErrOverflow}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ErrorNumber([&] { com::LongsOf(*c.value); }), c.number);
    }
}

TEST(ValueAsTest, CoercesAsALateBoundCallerDoesAndRefusesTheRest) {
    VARIANT text = Text(L"42");
    EXPECT_EQ(com::ValueAs<int32_t>(text), 42);
    EXPECT_EQ(com::ValueAs<std::wstring>(*com::VariantFrom(int32_t{-1}).get()), L"-1");
    EXPECT_TRUE(com::ValueAs<bool>(*com::VariantFrom(int32_t{1}).get()));
    LONG referenced = 9;
    VARIANT byReference{};
    byReference.vt = VT_BYREF | VT_I4;
    byReference.plVal = &referenced;
    EXPECT_EQ(com::ValueAs<int32_t>(byReference), 9);
    VariantClear(&text);

    VARIANT notANumber = Text(L"many");
    EXPECT_EQ(ErrorNumber([&] { com::ValueAs<int32_t>(notANumber); }), kErrTypeMismatch);
    VariantClear(&notANumber);
    VARIANT big{};
    big.vt = VT_R8;
    big.dblVal = 3e10;
    EXPECT_EQ(ErrorNumber([&] { com::ValueAs<int32_t>(big); }), kErrOverflow);
}

TEST(ObjectOfTest, NothingEmptyAndNullAreNoneAndANumberIsNoObject) {
    OwnedVariant empty;
    EXPECT_EQ(com::ObjectOf(*empty.get()), nullptr);
    VARIANT nothing{};
    nothing.vt = VT_DISPATCH;
    EXPECT_EQ(com::ObjectOf(nothing), nullptr);
    EXPECT_EQ(ErrorNumber([&] { com::ObjectOf(*com::VariantFrom(int32_t{3}).get()); }),
              kErrTypeMismatch);
}

TEST(DispatchArgumentsTest, KeepsTheLastArgumentFirst) {
    com::DispatchArguments arguments;
    arguments.Add(com::VariantFrom(L"first")).Add(com::VariantFrom(int32_t{2}));
    ASSERT_EQ(arguments.Count(), 2u);
    EXPECT_EQ(arguments.Data()[0].vt, VT_I4);
    EXPECT_EQ(com::ValueAs<std::wstring>(arguments.Data()[1]), L"first");
}

}  // namespace
}  // namespace orv::test
