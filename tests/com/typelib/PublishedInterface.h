// What the type library OrvBatchAnalyse promises its automation clients, written once as data:
// the library, its classes, interfaces, events and enumerations, each member with its slot,
// dispatch id and automation types. The table is written from the component's description of
// its public interface, never from the IDL, so that the test that reads the built library back
// (TypeLibrary_test.cpp) catches a slip in either. Where the description leaves a detail open
// (most parameter names, whether a parameter is passed by value) the table leaves it open too.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace orv::test::typelib {

// An automation type as a client declares it.
enum class Type {
    None,         // no result: a put, or a method that returns nothing
    Boolean,      // VARIANT_BOOL
    Long,         // 32-bit signed integer
    Double,       // 64-bit floating point
    String,       // BSTR
    Variant,      // VARIANT
    Unknown,      // IUnknown*, the type of an enumerator
    Enumeration,  // a published enumeration, named
    Object,       // a reference to a published interface, named
};

struct TypeRef {
    Type type = Type::None;
    std::wstring_view name{};  // of the enumeration or the interface; empty otherwise
};

inline constexpr TypeRef kNone{};
inline constexpr TypeRef kBoolean{Type::Boolean};
inline constexpr TypeRef kLong{Type::Long};
inline constexpr TypeRef kDouble{Type::Double};
inline constexpr TypeRef kString{Type::String};
inline constexpr TypeRef kVariant{Type::Variant};
inline constexpr TypeRef kUnknown{Type::Unknown};
constexpr TypeRef EnumerationOf(std::wstring_view name) {
    return {Type::Enumeration, name};
}
constexpr TypeRef ObjectOf(std::wstring_view interfaceName) {
    return {Type::Object, interfaceName};
}

enum class Invoke {
    Get,
    Put,
    PutRef,
    Method,
    // Read for its value, as a property get or as a method: the description does not say which.
    GetOrMethod,
};

struct Parameter {
    TypeRef type;
    std::wstring_view name{};  // empty where the name is not part of the contract
    bool optional = false;
};

struct Member {
    std::wstring_view name;
    Invoke invoke;
    std::int32_t dispatchId;
    TypeRef result;  // kNone for a put and for a method without result
    std::vector<Parameter> parameters{};
    bool hidden = false;
    // Words that the member's help string must contain, in any letter case; when empty, the
    // help string is not part of the contract.
    std::vector<std::wstring_view> helpMentions{};
};

// A dual interface (derived from IDispatch, flagged dual, oleautomation, hidden and
// nonextensible) or an event dispinterface; `members` in slot order, and nothing else.
struct Interface {
    std::wstring_view name;
    std::wstring_view iid;  // in registry form, {XXXXXXXX-...}
    std::vector<Member> members;
};

struct Coclass {
    std::wstring_view name;
    std::wstring_view clsid;
    bool creatable;
    std::wstring_view defaultInterface;
    std::wstring_view defaultSource;  // empty when the class raises no events
};

// Each member's help string is the member's own name.
struct Enumeration {
    struct Value {
        std::wstring_view name;
        std::int32_t value;
    };
    std::wstring_view name;
    std::wstring_view guid;
    std::vector<Value> values;
};

// A member that exists under this name elsewhere in the library but must not on `interfaceName`:
// a friend member, or the internal setter of a public property.
struct AbsentMember {
    std::wstring_view interfaceName;
    std::wstring_view name;
    std::optional<Invoke> invoke;  // none: no member of this name with any invoke kind
};

struct Library {
    std::wstring_view name;
    std::wstring_view guid;
    unsigned short majorVersion;
    unsigned short minorVersion;
    std::vector<Coclass> coclasses;
    std::vector<Interface> dualInterfaces;
    std::vector<Interface> eventInterfaces;
    std::vector<Enumeration> enumerations;
    // Names of internal classes, modules and members that no type, member or parameter of the
    // library may carry, in any letter case.
    std::vector<std::wstring_view> internalNames;
    std::vector<AbsentMember> absentMembers;
};

// The one table. Built on first use; lives for the whole program.
const Library& Published();

}  // namespace orv::test::typelib
