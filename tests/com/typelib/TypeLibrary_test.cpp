// Reads the built type library back, as an automation client's tools do, and holds every type
// in it against the published table (PublishedInterface.cpp): identities, flags, both views of
// each dual interface (the dispatch view that scripts call through and the vtable view that
// early-bound clients are compiled against), coclasses, events and enumerations, and nothing
// that the table does not list.
#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "PublishedInterface.h"

#ifndef ORV_TYPELIB_PATH
#error "ORV_TYPELIB_PATH names the library under test: a .tlb, or a DLL that embeds one"
#endif

namespace orv::test::typelib {

// Parameter rows print as their names, not as bytes.
void PrintTo(const Interface& row, std::ostream* out);
void PrintTo(const Coclass& row, std::ostream* out);
void PrintTo(const Enumeration& row, std::ostream* out);

namespace {

using Microsoft::WRL::ComPtr;

std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) narrow += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    return narrow;
}

std::wstring Widen(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring Lower(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower;
}

std::string Hex(long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

class Bstr {
public:
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }
    BSTR* out() { return &value_; }
    std::wstring text() const { return value_ ? std::wstring(value_, SysStringLen(value_)) : L""; }

private:
    BSTR value_ = nullptr;
};

// The descriptions that a type info hands out, each released with its owner.
class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* info) : info_(info) {
        if (FAILED(info->GetTypeAttr(&attr_))) attr_ = nullptr;
    }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    ~TypeAttr() {
        if (attr_) info_->ReleaseTypeAttr(attr_);
    }
    const TYPEATTR* operator->() const { return attr_; }
    explicit operator bool() const { return attr_ != nullptr; }

private:
    ITypeInfo* info_;
    TYPEATTR* attr_ = nullptr;
};

GUID GuidOf(std::wstring_view text) {
    GUID guid = GUID_NULL;
    std::wstring copy(text);
    EXPECT_EQ(CLSIDFromString(copy.data(), &guid), S_OK) << "not a GUID: " << Narrow(text);
    return guid;
}

std::string GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return Narrow(text);
}

std::wstring NameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL) {
    Bstr name;
    info->GetDocumentation(id, name.out(), nullptr, nullptr, nullptr);
    return name.text();
}

std::wstring HelpOf(ITypeInfo* info, MEMBERID id) {
    Bstr help;
    info->GetDocumentation(id, nullptr, help.out(), nullptr, nullptr);
    return help.text();
}

const char* KindName(TYPEKIND kind) {
    switch (kind) {
        case TKIND_ENUM:
            return "enum";
        case TKIND_RECORD:
            return "record";
        case TKIND_MODULE:
            return "module";
        case TKIND_INTERFACE:
            return "interface";
        case TKIND_DISPATCH:
            return "dispinterface";
        case TKIND_COCLASS:
            return "coclass";
        case TKIND_ALIAS:
            return "alias";
        case TKIND_UNION:
            return "union";
        default:
            return "unknown kind";
    }
}

const char* InvokeName(Invoke invoke) {
    switch (invoke) {
        case Invoke::Get:
            return "get";
        case Invoke::Put:
            return "put";
        case Invoke::PutRef:
            return "putref";
        case Invoke::Method:
            return "method";
        case Invoke::GetOrMethod:
            return "get or method";
    }
    return "?";
}

const char* InvokeName(INVOKEKIND invoke) {
    switch (invoke) {
        case INVOKE_PROPERTYGET:
            return "get";
        case INVOKE_PROPERTYPUT:
            return "put";
        case INVOKE_PROPERTYPUTREF:
            return "putref";
        case INVOKE_FUNC:
            return "method";
    }
    return "?";
}

bool InvokeMatches(Invoke expected, INVOKEKIND actual) {
    switch (expected) {
        case Invoke::Get:
            return actual == INVOKE_PROPERTYGET;
        case Invoke::Put:
            return actual == INVOKE_PROPERTYPUT;
        case Invoke::PutRef:
            return actual == INVOKE_PROPERTYPUTREF;
        case Invoke::Method:
            return actual == INVOKE_FUNC;
        case Invoke::GetOrMethod:
            return actual == INVOKE_PROPERTYGET || actual == INVOKE_FUNC;
    }
    return false;
}

// Types are compared as text, so that a failure reads as "Long, expected String".
std::wstring Describe(const TypeRef& type) {
    switch (type.type) {
        case Type::None:
            return L"void";
        case Type::Boolean:
            return L"Boolean";
        case Type::Long:
            return L"Long";
        case Type::Double:
            return L"Double";
        case Type::String:
            return L"String";
        case Type::Variant:
            return L"Variant";
        case Type::Unknown:
            return L"Unknown";
        case Type::Enumeration:
            return std::wstring(type.name);
        case Type::Object:
            return std::wstring(type.name) + L"*";
    }
    return L"?";
}

std::wstring Describe(ITypeInfo* owner, const TYPEDESC& type) {
    auto referenced = [owner](HREFTYPE reference, TYPEKIND* kind) {
        ComPtr<ITypeInfo> info;
        if (FAILED(owner->GetRefTypeInfo(reference, &info))) return std::wstring(L"(unresolved)");
        TypeAttr attr(info.Get());
        *kind = attr ? attr->typekind : TKIND_MAX;
        return NameOf(info.Get());
    };
    TYPEKIND kind = TKIND_MAX;
    switch (type.vt) {
        case VT_VOID:
            return L"void";
        case VT_HRESULT:
            return L"HRESULT";
        case VT_BOOL:
            return L"Boolean";
        case VT_I4:
            return L"Long";
        case VT_R8:
            return L"Double";
        case VT_BSTR:
            return L"String";
        case VT_VARIANT:
            return L"Variant";
        case VT_UNKNOWN:
            return L"Unknown";
        case VT_DISPATCH:
            return L"Object";
        case VT_USERDEFINED: {
            const std::wstring name = referenced(type.hreftype, &kind);
            if (kind == TKIND_ENUM) return name;
            return L"(" + Widen(KindName(kind)) + L" by value) " + name;
        }
        case VT_PTR: {
            const TYPEDESC& inner = *type.lptdesc;
            if (inner.vt == VT_USERDEFINED) {
                const std::wstring name = referenced(inner.hreftype, &kind);
                if (kind == TKIND_INTERFACE || kind == TKIND_DISPATCH) return name + L"*";
                if (kind == TKIND_COCLASS) return L"(coclass) " + name + L"*";
            }
            return L"ByRef " + Describe(owner, inner);
        }
        default:
            return L"(VARTYPE " + std::to_wstring(type.vt) + L")";
    }
}

struct Param {
    std::wstring name;
    std::wstring type;
    USHORT flags;
};

struct Function {
    std::wstring name;
    MEMBERID id;
    INVOKEKIND invoke;
    std::wstring result;
    std::vector<Param> params;
    WORD flags;
    SHORT vtableOffset;
    std::wstring help;
};

std::string Describe(const std::wstring_view interfaceName, const Function& function) {
    return Narrow(interfaceName) + "." + Narrow(function.name) + " (" +
           InvokeName(function.invoke) + ", " + Hex(function.id) + ")";
}

std::string Describe(const std::wstring_view interfaceName, const Member& member) {
    return Narrow(interfaceName) + "." + Narrow(member.name) + " (" + InvokeName(member.invoke) +
           ", " + Hex(member.dispatchId) + ")";
}

std::vector<Function> FunctionsOf(ITypeInfo* info) {
    std::vector<Function> functions;
    TypeAttr attr(info);
    if (!attr) return functions;
    for (UINT index = 0; index < attr->cFuncs; ++index) {
        FUNCDESC* desc = nullptr;
        if (FAILED(info->GetFuncDesc(index, &desc))) {
            ADD_FAILURE() << "GetFuncDesc(" << index << ") failed on " << Narrow(NameOf(info));
            continue;
        }
        Function function{
            L"", desc->memid,      desc->invkind, Describe(info, desc->elemdescFunc.tdesc),
            {},  desc->wFuncFlags, desc->oVft,    HelpOf(info, desc->memid)};
        std::vector<BSTR> names(static_cast<size_t>(desc->cParams) + 2, nullptr);
        UINT got = 0;
        info->GetNames(desc->memid, names.data(), static_cast<UINT>(names.size()), &got);
        function.name = names[0] ? names[0] : L"";
        for (SHORT p = 0; p < desc->cParams; ++p) {
            const ELEMDESC& param = desc->lprgelemdescParam[p];
            const UINT slot = static_cast<UINT>(p) + 1;
            function.params.push_back({slot < got && names[slot] ? names[slot] : L"",
                                       Describe(info, param.tdesc), param.paramdesc.wParamFlags});
        }
        for (BSTR name : names) SysFreeString(name);
        info->ReleaseFuncDesc(desc);
        functions.push_back(std::move(function));
    }
    return functions;
}

// What every dispatch view lists before the type's own members.
bool IsInheritedFromIDispatch(const Function& function) {
    static const std::set<std::wstring> names{
        L"QueryInterface", L"AddRef",        L"Release", L"GetTypeInfoCount",
        L"GetTypeInfo",    L"GetIDsOfNames", L"Invoke"};
    return names.count(function.name) != 0;
}

std::vector<Function> OwnFunctionsOf(ITypeInfo* info) {
    std::vector<Function> own = FunctionsOf(info);
    std::erase_if(own, IsInheritedFromIDispatch);
    return own;
}

HRESULT LoadLibraryUnderTest(ComPtr<ITypeLib>& library) {
    return LoadTypeLibEx(ORV_TYPELIB_PATH, REGKIND_NONE, library.ReleaseAndGetAddressOf());
}

class LibraryUnderTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!library_) loaded_ = LoadLibraryUnderTest(library_);
    }
    void SetUp() override {
        ASSERT_EQ(loaded_, S_OK) << "LoadTypeLibEx(" << Narrow(ORV_TYPELIB_PATH) << ") failed";
    }

    ITypeLib* library() const { return library_.Get(); }

    // The type of that name, found as a client browsing the library finds it.
    ComPtr<ITypeInfo> TypeNamed(std::wstring_view name) const {
        const UINT count = library_->GetTypeInfoCount();
        for (UINT i = 0; i < count; ++i) {
            Bstr found;
            library_->GetDocumentation(static_cast<INT>(i), found.out(), nullptr, nullptr, nullptr);
            if (found.text() == name) {
                ComPtr<ITypeInfo> info;
                library_->GetTypeInfo(i, &info);
                return info;
            }
        }
        return nullptr;
    }

    // The dispatch view: what GetTypeInfoOfGuid hands out for a dual interface.
    ComPtr<ITypeInfo> TypeWithGuid(std::wstring_view guid) const {
        ComPtr<ITypeInfo> info;
        library_->GetTypeInfoOfGuid(GuidOf(guid), &info);
        return info;
    }

    static ComPtr<ITypeInfo> VtableViewOf(ITypeInfo* dispatchView) {
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> view;
        if (SUCCEEDED(dispatchView->GetRefTypeOfImplType(-1, &reference)))
            dispatchView->GetRefTypeInfo(reference, &view);
        return view;
    }

    static std::wstring BaseOf(ITypeInfo* info) {
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> base;
        if (FAILED(info->GetRefTypeOfImplType(0, &reference)) ||
            FAILED(info->GetRefTypeInfo(reference, &base)))
            return L"(none)";
        return NameOf(base.Get());
    }

    // The type's flags, kind and identity against the table, with a message naming it.
    static void ExpectType(ITypeInfo* info, std::wstring_view name, TYPEKIND kind,
                           std::wstring_view guid, WORD requiredFlags, WORD forbiddenFlags) {
        TypeAttr attr(info);
        ASSERT_TRUE(attr) << Narrow(name) << ": GetTypeAttr failed";
        EXPECT_EQ(NameOf(info), name);
        EXPECT_STREQ(KindName(attr->typekind), KindName(kind)) << Narrow(name);
        EXPECT_EQ(GuidText(attr->guid), GuidText(GuidOf(guid))) << Narrow(name);
        for (WORD flag = 1; flag != 0; flag = static_cast<WORD>(flag << 1)) {
            if (requiredFlags & flag) {
                EXPECT_TRUE(attr->wTypeFlags & flag)
                    << Narrow(name) << " (" << KindName(attr->typekind) << ") lacks type flag "
                    << Hex(flag) << "; its flags are " << Hex(attr->wTypeFlags);
            }
            if (forbiddenFlags & flag) {
                EXPECT_FALSE(attr->wTypeFlags & flag)
                    << Narrow(name) << " (" << KindName(attr->typekind) << ") has type flag "
                    << Hex(flag) << "; its flags are " << Hex(attr->wTypeFlags);
            }
        }
    }

private:
    static inline ComPtr<ITypeLib> library_;
    static inline HRESULT loaded_ = E_FAIL;
};

bool Mentions(std::wstring_view text, std::wstring_view word) {
    return Lower(text).find(Lower(word)) != std::wstring::npos;
}

// One member's description in either view against its row. In the vtable view the result is
// the last parameter, [out, retval], and the function returns HRESULT.
void ExpectMember(std::wstring_view interfaceName, const Member& member, const Function& actual,
                  bool vtableView) {
    const std::string where = Describe(interfaceName, member);
    EXPECT_EQ(Narrow(actual.name), Narrow(member.name)) << where << ": name";
    EXPECT_EQ(actual.id, member.dispatchId) << where << ": dispatch id " << Hex(actual.id);
    EXPECT_TRUE(InvokeMatches(member.invoke, actual.invoke))
        << where << ": invoke kind is " << InvokeName(actual.invoke);

    std::vector<Parameter> expected = member.parameters;
    if (vtableView) {
        EXPECT_EQ(Narrow(actual.result), "HRESULT") << where << ": vtable function result";
    } else {
        EXPECT_EQ(Narrow(actual.result), Narrow(Describe(member.result))) << where << ": result";
    }
    const bool hasRetval = vtableView && member.result.type != Type::None;
    const size_t expectedCount = expected.size() + (hasRetval ? 1 : 0);
    ASSERT_EQ(actual.params.size(), expectedCount) << where << ": parameter count";
    for (size_t p = 0; p < expected.size(); ++p) {
        const Param& param = actual.params[p];
        const std::wstring type = Describe(expected[p].type);
        // Whether a parameter is passed by value is left open: a reference to the type will do.
        EXPECT_TRUE(param.type == type || param.type == L"ByRef " + type)
            << where << ": parameter " << p + 1 << " is " << Narrow(param.type) << ", expected "
            << Narrow(type);
        EXPECT_EQ((param.flags & PARAMFLAG_FOPT) != 0, expected[p].optional)
            << where << ": parameter " << p + 1 << " optional";
        EXPECT_FALSE(param.flags & PARAMFLAG_FRETVAL) << where << ": parameter " << p + 1;
        if (!expected[p].name.empty()) {
            EXPECT_EQ(Narrow(param.name), Narrow(expected[p].name))
                << where << ": name of parameter " << p + 1;
        }
    }
    if (hasRetval) {
        const Param& retval = actual.params.back();
        EXPECT_EQ(Narrow(retval.type), "ByRef " + Narrow(Describe(member.result)))
            << where << ": [out, retval] parameter";
        EXPECT_TRUE(retval.flags & PARAMFLAG_FRETVAL) << where << ": last parameter is no retval";
    }

    EXPECT_EQ((actual.flags & FUNCFLAG_FHIDDEN) != 0, member.hidden) << where << ": hidden";
    if (!member.helpMentions.empty()) {
        EXPECT_FALSE(actual.help.empty()) << where << ": no help string";
        for (std::wstring_view word : member.helpMentions)
            EXPECT_TRUE(Mentions(actual.help, word))
                << where << ": help string \"" << Narrow(actual.help) << "\" does not mention "
                << Narrow(word);
    }
}

// The dispatch view: every row found by its id and invoke kind, as Invoke finds it, and no
// member that the table does not list.
void ExpectDispatchMembers(std::wstring_view interfaceName, const std::vector<Member>& members,
                           const std::vector<Function>& own) {
    std::vector<bool> listed(own.size(), false);
    for (const Member& member : members) {
        std::vector<size_t> matches;
        for (size_t f = 0; f < own.size(); ++f)
            if (own[f].id == member.dispatchId && InvokeMatches(member.invoke, own[f].invoke))
                matches.push_back(f);
        if (matches.empty()) {
            ADD_FAILURE() << Describe(interfaceName, member) << " is missing";
            continue;
        }
        EXPECT_EQ(matches.size(), 1u)
            << Describe(interfaceName, member) << " is there " << matches.size() << " times";
        listed[matches.front()] = true;
        SCOPED_TRACE("dispatch view");
        ExpectMember(interfaceName, member, own[matches.front()], false);
    }
    for (size_t f = 0; f < own.size(); ++f)
        EXPECT_TRUE(listed[f]) << Describe(interfaceName, own[f]) << " is not published";
}

// ---------------------------------------------------------------------------------------------

TEST_F(LibraryUnderTest, IsTheNamedLibraryInVersion1_0ForThisPlatform) {
    const Library& table = Published();
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(library()->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(GuidText(attr->guid), GuidText(GuidOf(table.guid)));
    EXPECT_EQ(attr->wMajorVerNum, table.majorVersion);
    EXPECT_EQ(attr->wMinorVerNum, table.minorVersion);
    // The slot offsets in the library are those of the platform it was built for.
    EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    library()->ReleaseTLibAttr(attr);

    Bstr name;
    ASSERT_EQ(library()->GetDocumentation(-1, name.out(), nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Narrow(name.text()), Narrow(table.name));
}

TEST_F(LibraryUnderTest, HoldsTheListedTypesAndNoOther) {
    const Library& table = Published();
    std::vector<std::pair<std::wstring, TYPEKIND>> listed;
    for (const auto& row : table.coclasses) listed.emplace_back(row.name, TKIND_COCLASS);
    for (const auto& row : table.dualInterfaces) listed.emplace_back(row.name, TKIND_DISPATCH);
    for (const auto& row : table.eventInterfaces) listed.emplace_back(row.name, TKIND_DISPATCH);
    for (const auto& row : table.enumerations) listed.emplace_back(row.name, TKIND_ENUM);

    const UINT count = library()->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        Bstr name;
        TYPEKIND kind = TKIND_MAX;
        library()->GetDocumentation(static_cast<INT>(i), name.out(), nullptr, nullptr, nullptr);
        library()->GetTypeInfoType(i, &kind);
        const auto row = std::find_if(listed.begin(), listed.end(), [&](const auto& entry) {
            return entry.first == name.text();
        });
        if (row == listed.end()) {
            ADD_FAILURE() << KindName(kind) << " " << Narrow(name.text()) << " is not published";
        } else {
            EXPECT_STREQ(KindName(kind), KindName(row->second)) << Narrow(name.text());
        }
    }
    EXPECT_EQ(count, listed.size());
}

TEST_F(LibraryUnderTest, CarriesNoNameOfAnInternalClassModuleOrMember) {
    // Every name in the library, in lower case: types, members of both views, parameters.
    std::set<std::wstring> names;
    auto collect = [&](ITypeInfo* info) {
        names.insert(Lower(NameOf(info)));
        TypeAttr attr(info);
        if (!attr) return;
        for (const Function& function : FunctionsOf(info)) {
            names.insert(Lower(function.name));
            for (const Param& param : function.params) names.insert(Lower(param.name));
        }
        for (UINT v = 0; v < attr->cVars; ++v) {
            VARDESC* var = nullptr;
            if (FAILED(info->GetVarDesc(v, &var))) continue;
            names.insert(Lower(NameOf(info, var->memid)));
            info->ReleaseVarDesc(var);
        }
    };
    const UINT count = library()->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(library()->GetTypeInfo(i, &info), S_OK);
        collect(info.Get());
        if (ComPtr<ITypeInfo> vtable = VtableViewOf(info.Get())) collect(vtable.Get());
    }
    for (std::wstring_view internal : Published().internalNames)
        EXPECT_EQ(names.count(Lower(internal)), 0u) << Narrow(internal) << " is published";
}

TEST_F(LibraryUnderTest, OffersNoFriendMemberOrInternalSetter) {
    for (const AbsentMember& absent : Published().absentMembers) {
        const std::string what = Narrow(absent.interfaceName) + "." + Narrow(absent.name) + " (" +
                                 (absent.invoke ? InvokeName(*absent.invoke) : "any kind") + ")";
        ComPtr<ITypeInfo> dispatchView = TypeNamed(absent.interfaceName);
        ASSERT_TRUE(dispatchView) << Narrow(absent.interfaceName) << " is missing";
        ComPtr<ITypeInfo> vtableView = VtableViewOf(dispatchView.Get());
        for (ITypeInfo* view : {dispatchView.Get(), vtableView.Get()}) {
            if (!view) continue;
            for (const Function& function : FunctionsOf(view))
                EXPECT_FALSE(Lower(function.name) == Lower(absent.name) &&
                             (!absent.invoke || InvokeMatches(*absent.invoke, function.invoke)))
                    << what << " is published as " << InvokeName(function.invoke);
        }
        if (!absent.invoke) {
            // Nor can a script reach it by name.
            std::wstring name(absent.name);
            LPOLESTR names[] = {name.data()};
            MEMBERID id = 0;
            EXPECT_EQ(dispatchView->GetIDsOfNames(names, 1, &id), DISP_E_UNKNOWNNAME) << what;
        }
    }
}

TEST(TypeLibraryLoading, LoadsFromItsPathAgainWhileLoadedAndAfterRelease) {
    ComPtr<ITypeLib> first, second;
    ASSERT_EQ(LoadLibraryUnderTest(first), S_OK);
    ASSERT_EQ(LoadLibraryUnderTest(second), S_OK);
    const GUID expected = GuidOf(Published().guid);
    for (ITypeLib* library : {first.Get(), second.Get()}) {
        TLIBATTR* attr = nullptr;
        ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
        EXPECT_EQ(GuidText(attr->guid), GuidText(expected));
        library->ReleaseTLibAttr(attr);
    }
    first.Reset();
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(second->GetTypeInfoOfGuid(GuidOf(Published().coclasses.front().clsid), &info), S_OK);
    ComPtr<ITypeLib> third;
    ASSERT_EQ(LoadLibraryUnderTest(third), S_OK);
    EXPECT_EQ(third->GetTypeInfoCount(), second->GetTypeInfoCount());
}

// A script names members in whatever letter case it was written in, and passes named arguments.
struct NameLookup {
    std::wstring_view interfaceName;
    std::vector<std::wstring_view> names;  // the member, then names of its parameters
    std::vector<MEMBERID> ids;             // its dispatch id, then the parameters' positions
};

void PrintTo(const NameLookup& lookup, std::ostream* out) {
    *out << Narrow(lookup.interfaceName) << "." << Narrow(lookup.names.front());
}

class ScriptNameLookup : public LibraryUnderTest, public testing::WithParamInterface<NameLookup> {};

TEST_P(ScriptNameLookup, ResolvesWithoutRegardToLetterCase) {
    const NameLookup& lookup = GetParam();
    const Interface* row = nullptr;
    for (const Interface& candidate : Published().dualInterfaces)
        if (candidate.name == lookup.interfaceName) row = &candidate;
    ASSERT_TRUE(row);
    ComPtr<ITypeInfo> info = TypeWithGuid(row->iid);
    ASSERT_TRUE(info) << Narrow(lookup.interfaceName);

    std::vector<std::wstring> storage(lookup.names.begin(), lookup.names.end());
    std::vector<LPOLESTR> names;
    for (std::wstring& name : storage) names.push_back(name.data());
    std::vector<MEMBERID> ids(names.size(), DISPID_UNKNOWN);
    ASSERT_EQ(info->GetIDsOfNames(names.data(), static_cast<UINT>(names.size()), ids.data()), S_OK)
        << Narrow(lookup.names.front());
    EXPECT_EQ(ids, lookup.ids) << Narrow(lookup.names.front());
}

INSTANTIATE_TEST_SUITE_P(
    Members, ScriptNameLookup,
    testing::Values(NameLookup{L"_BatchAnalyse", {L"loadwordobject"}, {0x68030013}},
                    NameLookup{L"_BatchAnalyse", {L"ANALYSE"}, {0x60030016}},
                    NameLookup{L"_BatchAnalyse", {L"batesserasettings"}, {0x68030001}},
                    NameLookup{L"_Files", {L"item"}, {DISPID_VALUE}},
                    NameLookup{L"_Files", {L"ADD", L"STRKEY", L"strfilepath"}, {0x60030001, 1, 0}},
                    NameLookup{L"_clsBATessera", {L"starttessera"}, {0x60030009}},
                    NameLookup{L"_clsBATesseraSettings", {L"WASINITIALISED"}, {0x40030000}}),
    [](const auto& row) {
        return Narrow(row.param.interfaceName) + "_" + Narrow(row.param.names.front());
    });

// ---------------------------------------------------------------------------------------------

class DualInterface : public LibraryUnderTest, public testing::WithParamInterface<Interface> {};

TEST_P(DualInterface, IsFoundByNameAndGuidAsADualDispatchInterface) {
    const Interface& row = GetParam();
    ComPtr<ITypeInfo> byName = TypeNamed(row.name);
    ASSERT_TRUE(byName) << Narrow(row.name) << " is missing";
    ExpectType(byName.Get(), row.name, TKIND_DISPATCH, row.iid,
               TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE,
               0);
    ComPtr<ITypeInfo> byGuid = TypeWithGuid(row.iid);
    ASSERT_TRUE(byGuid) << Narrow(row.name) << ": GetTypeInfoOfGuid found nothing";
    EXPECT_EQ(NameOf(byGuid.Get()), row.name);
    EXPECT_EQ(Narrow(BaseOf(byGuid.Get())), "IDispatch") << Narrow(row.name);
    TypeAttr attr(byGuid.Get());
    EXPECT_EQ(attr->cVars, 0) << Narrow(row.name) << " has dispinterface properties";
}

TEST_P(DualInterface, DispatchViewHasEveryMemberWithItsIdKindAndTypesAndNoOther) {
    const Interface& row = GetParam();
    ComPtr<ITypeInfo> info = TypeWithGuid(row.iid);
    ASSERT_TRUE(info) << Narrow(row.name);
    const std::vector<Function> all = FunctionsOf(info.Get());
    const auto inherited = std::count_if(all.begin(), all.end(), IsInheritedFromIDispatch);
    EXPECT_EQ(inherited, 7) << Narrow(row.name) << ": IUnknown and IDispatch members";
    ExpectDispatchMembers(row.name, row.members, OwnFunctionsOf(info.Get()));
}

TEST_P(DualInterface, VtableViewHasTheMembersInSlotOrderAfterIDispatch) {
    const Interface& row = GetParam();
    ComPtr<ITypeInfo> dispatchView = TypeWithGuid(row.iid);
    ASSERT_TRUE(dispatchView) << Narrow(row.name);
    ComPtr<ITypeInfo> info = VtableViewOf(dispatchView.Get());
    ASSERT_TRUE(info) << Narrow(row.name) << ": no vtable view (GetRefTypeOfImplType(-1))";
    ExpectType(
        info.Get(), row.name, TKIND_INTERFACE, row.iid,
        TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE, 0);
    EXPECT_EQ(Narrow(BaseOf(info.Get())), "IDispatch") << Narrow(row.name);

    const std::vector<Function> functions = FunctionsOf(info.Get());
    EXPECT_EQ(functions.size(), row.members.size()) << Narrow(row.name) << ": own functions";
    const size_t common = std::min(functions.size(), row.members.size());
    for (size_t slot = 0; slot < common; ++slot) {
        const Member& member = row.members[slot];
        const Function& function = functions[slot];
        SCOPED_TRACE("vtable slot " + std::to_string(slot + 1));
        // IUnknown's three and IDispatch's four come first.
        EXPECT_EQ(function.vtableOffset, static_cast<SHORT>((7 + slot) * sizeof(void*)))
            << Describe(row.name, member) << " is " << Describe(row.name, function);
        ExpectMember(row.name, member, function, true);
    }
    for (size_t slot = common; slot < functions.size(); ++slot)
        ADD_FAILURE() << Describe(row.name, functions[slot]) << " in slot " << slot + 1
                      << " is not published";
}

INSTANTIATE_TEST_SUITE_P(Published, DualInterface, testing::ValuesIn(Published().dualInterfaces),
                         [](const auto& row) { return Narrow(row.param.name); });

// ---------------------------------------------------------------------------------------------

class EventInterface : public LibraryUnderTest, public testing::WithParamInterface<Interface> {};

TEST_P(EventInterface, IsADispinterfaceWithItsEventsAndNoOther) {
    const Interface& row = GetParam();
    ComPtr<ITypeInfo> info = TypeNamed(row.name);
    ASSERT_TRUE(info) << Narrow(row.name) << " is missing";
    // A client implements it through IDispatch alone: it has no vtable view.
    ExpectType(info.Get(), row.name, TKIND_DISPATCH, row.iid, TYPEFLAG_FDISPATCHABLE,
               TYPEFLAG_FDUAL);
    ComPtr<ITypeInfo> byGuid = TypeWithGuid(row.iid);
    ASSERT_TRUE(byGuid) << Narrow(row.name) << ": GetTypeInfoOfGuid found nothing";
    EXPECT_EQ(NameOf(byGuid.Get()), row.name);
    TypeAttr attr(info.Get());
    EXPECT_EQ(attr->cVars, 0) << Narrow(row.name) << " has dispinterface properties";
    ExpectDispatchMembers(row.name, row.members, OwnFunctionsOf(info.Get()));
}

INSTANTIATE_TEST_SUITE_P(Published, EventInterface, testing::ValuesIn(Published().eventInterfaces),
                         [](const auto& row) { return Narrow(row.param.name); });

// ---------------------------------------------------------------------------------------------

class CoclassTest : public LibraryUnderTest, public testing::WithParamInterface<Coclass> {};

TEST_P(CoclassTest, IsCreatableAsListedWithItsDefaultInterfaceAndEventSource) {
    const Coclass& row = GetParam();
    ComPtr<ITypeInfo> info = TypeNamed(row.name);
    ASSERT_TRUE(info) << Narrow(row.name) << " is missing";
    ExpectType(info.Get(), row.name, TKIND_COCLASS, row.clsid,
               row.creatable ? TYPEFLAG_FCANCREATE : 0, row.creatable ? 0 : TYPEFLAG_FCANCREATE);
    ComPtr<ITypeInfo> byGuid = TypeWithGuid(row.clsid);
    ASSERT_TRUE(byGuid) << Narrow(row.name) << ": GetTypeInfoOfGuid found nothing";
    EXPECT_EQ(NameOf(byGuid.Get()), row.name);

    struct Implemented {
        std::wstring name;
        int flags;
        bool operator==(const Implemented&) const = default;
    };
    std::vector<Implemented> expected{{std::wstring(row.defaultInterface), IMPLTYPEFLAG_FDEFAULT}};
    if (!row.defaultSource.empty())
        expected.push_back(
            {std::wstring(row.defaultSource), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE});

    TypeAttr attr(info.Get());
    std::vector<Implemented> actual;
    for (UINT k = 0; k < attr->cImplTypes; ++k) {
        HREFTYPE reference = 0;
        ComPtr<ITypeInfo> implemented;
        INT flags = 0;
        ASSERT_EQ(info->GetRefTypeOfImplType(k, &reference), S_OK);
        ASSERT_EQ(info->GetRefTypeInfo(reference, &implemented), S_OK);
        ASSERT_EQ(info->GetImplTypeFlags(k, &flags), S_OK);
        actual.push_back(
            {NameOf(implemented.Get()), flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)});
    }
    auto text = [](const std::vector<Implemented>& list) {
        std::string out;
        for (const auto& entry : list) {
            out += Narrow(entry.name);
            if (entry.flags & IMPLTYPEFLAG_FDEFAULT) out += " [default]";
            if (entry.flags & IMPLTYPEFLAG_FSOURCE) out += " [source]";
            out += "; ";
        }
        return out;
    };
    auto sorted = [](std::vector<Implemented> list) {
        std::sort(list.begin(), list.end(),
                  [](const auto& a, const auto& b) { return a.name < b.name; });
        return list;
    };
    EXPECT_EQ(text(sorted(actual)), text(sorted(expected))) << Narrow(row.name);
}

INSTANTIATE_TEST_SUITE_P(Published, CoclassTest, testing::ValuesIn(Published().coclasses),
                         [](const auto& row) { return Narrow(row.param.name); });

// ---------------------------------------------------------------------------------------------

class EnumerationTest : public LibraryUnderTest, public testing::WithParamInterface<Enumeration> {};

TEST_P(EnumerationTest, HasItsMembersWithTheirValuesAndTheirNamesAsHelpStrings) {
    const Enumeration& row = GetParam();
    ComPtr<ITypeInfo> info = TypeNamed(row.name);
    ASSERT_TRUE(info) << Narrow(row.name) << " is missing";
    ExpectType(info.Get(), row.name, TKIND_ENUM, row.guid, 0, 0);
    TypeAttr attr(info.Get());
    EXPECT_EQ(attr->cbSizeInstance, 4u) << Narrow(row.name) << ": 32-bit values";

    std::vector<bool> listed(row.values.size(), false);
    for (UINT v = 0; v < attr->cVars; ++v) {
        VARDESC* var = nullptr;
        ASSERT_EQ(info->GetVarDesc(v, &var), S_OK);
        const std::wstring name = NameOf(info.Get(), var->memid);
        const std::wstring help = HelpOf(info.Get(), var->memid);
        const std::string where = Narrow(row.name) + "." + Narrow(name);
        const auto found = std::find_if(row.values.begin(), row.values.end(),
                                        [&](const auto& value) { return value.name == name; });
        if (found == row.values.end()) {
            ADD_FAILURE() << where << " is not published";
        } else {
            listed[static_cast<size_t>(found - row.values.begin())] = true;
            EXPECT_EQ(var->varkind, VAR_CONST) << where;
            VARIANT value;
            VariantInit(&value);
            ASSERT_EQ(VariantChangeType(&value, var->lpvarValue, 0, VT_I4), S_OK) << where;
            EXPECT_EQ(V_I4(&value), found->value) << where;
            EXPECT_EQ(Narrow(help), Narrow(name)) << where << ": help string";
        }
        info->ReleaseVarDesc(var);
    }
    for (size_t i = 0; i < row.values.size(); ++i)
        EXPECT_TRUE(listed[i]) << Narrow(row.name) << "." << Narrow(row.values[i].name)
                               << " is missing";
}

INSTANTIATE_TEST_SUITE_P(Published, EnumerationTest, testing::ValuesIn(Published().enumerations),
                         [](const auto& row) { return Narrow(row.param.name); });

}  // namespace

void PrintTo(const Interface& row, std::ostream* out) {
    *out << Narrow(row.name);
}
void PrintTo(const Coclass& row, std::ostream* out) {
    *out << Narrow(row.name);
}
void PrintTo(const Enumeration& row, std::ostream* out) {
    *out << Narrow(row.name);
}

}  // namespace orv::test::typelib
