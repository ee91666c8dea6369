// Completes the type library that widl writes: widl takes no help string on an enumeration
// member, and clients' object browsers show each member's name as its help string. The
// library is rebuilt type by type with ICreateTypeLib2 (Wine cannot save a loaded library
// in place) and every enumeration member gets its name as its help string; everything else
// is copied as widl wrote it. One thing Wine's ICreateTypeLib2 cannot copy: it gives every
// enumeration the size of a pointer (8 bytes in a 64-bit library, where widl writes the 4
// bytes of its values) and has no call to set a type's size, so the sizes are written into
// the saved file afterwards and checked by loading it again.
//
// Usage: CompleteTypeLib input.tlb output.tlb win32|win64
// Run at build time, under Wine when cross-building. Exits non-zero, with a message, on any
// failure, so that a build never embeds a half-written library.

#include <windows.h>

#include <oleauto.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

struct Failure : std::runtime_error {
    Failure(const char* what, HRESULT hr) : std::runtime_error(what), hr(hr) {}
    HRESULT hr;
};

void Check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw Failure(what, hr);
}

class Bstr {
public:
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }
    BSTR* out() { return &value_; }
    BSTR get() const { return value_; }

private:
    BSTR value_ = nullptr;
};

// The descriptions a type info hands out, released with it.
struct TypeAttr {
    TypeAttr(ITypeInfo* info) : info(info) { Check(info->GetTypeAttr(&attr), "GetTypeAttr"); }
    ~TypeAttr() { info->ReleaseTypeAttr(attr); }
    TYPEATTR* operator->() const { return attr; }
    ITypeInfo* info;
    TYPEATTR* attr = nullptr;
};

class LibraryCopy {
public:
    LibraryCopy(ComPtr<ITypeLib> source, ComPtr<ICreateTypeLib2> target)
        : source_(std::move(source)), target_(std::move(target)) {}

    // The instance size of each type of the source, in library order (filled by Run).
    const std::vector<ULONG>& InstanceSizes() const { return sizes_; }

    void Run() {
        CopyLibraryAttributes();
        const UINT count = source_->GetTypeInfoCount();
        // First every type, so that references between them can be resolved; then members.
        for (UINT i = 0; i < count; ++i) created_.push_back(CreateType(i));
        for (UINT i = 0; i < count; ++i) CopyMembers(SourceView(i).Get(), created_[i].Get());
        for (auto& type : created_) Check(type->LayOut(), "LayOut");
        Check(target_->SaveAllChanges(), "SaveAllChanges");
    }

private:
    void CopyLibraryAttributes() {
        TLIBATTR* attr = nullptr;
        Check(source_->GetLibAttr(&attr), "GetLibAttr");
        Bstr name, doc;
        Check(source_->GetDocumentation(-1, name.out(), doc.out(), nullptr, nullptr),
              "GetDocumentation");
        Check(target_->SetName(name.get()), "SetName");
        if (doc.get()) Check(target_->SetDocString(doc.get()), "SetDocString");
        Check(target_->SetGuid(attr->guid), "SetGuid");
        Check(target_->SetVersion(attr->wMajorVerNum, attr->wMinorVerNum), "SetVersion");
        Check(target_->SetLcid(attr->lcid), "SetLcid");
        Check(target_->SetLibFlags(attr->wLibFlags), "SetLibFlags");
        source_->ReleaseTLibAttr(attr);
    }

    // The view of type `index` to copy: for a dual interface its vtable view (the library
    // derives the dispatch view from it again), else the type itself.
    ComPtr<ITypeInfo> SourceView(UINT index) {
        ComPtr<ITypeInfo> info;
        Check(source_->GetTypeInfo(index, &info), "GetTypeInfo");
        TypeAttr attr(info.Get());
        if (attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL)) {
            HREFTYPE vtableView = 0;
            Check(info->GetRefTypeOfImplType(-1, &vtableView), "GetRefTypeOfImplType(-1)");
            ComPtr<ITypeInfo> interfaceView;
            Check(info->GetRefTypeInfo(vtableView, &interfaceView), "GetRefTypeInfo");
            return interfaceView;
        }
        return info;
    }

    ComPtr<ICreateTypeInfo> CreateType(UINT index) {
        ComPtr<ITypeInfo> info = SourceView(index);
        TypeAttr attr(info.Get());
        Bstr name, doc;
        Check(info->GetDocumentation(MEMBERID_NIL, name.out(), doc.out(), nullptr, nullptr),
              "GetDocumentation");
        ComPtr<ICreateTypeInfo> type;
        Check(target_->CreateTypeInfo(name.get(), attr->typekind, &type), "CreateTypeInfo");
        Check(type->SetGuid(attr->guid), "SetGuid");
        Check(type->SetTypeFlags(attr->wTypeFlags), "SetTypeFlags");
        Check(type->SetVersion(attr->wMajorVerNum, attr->wMinorVerNum), "SetVersion");
        Check(type->SetAlignment(attr->cbAlignment), "SetAlignment");
        if (doc.get()) Check(type->SetDocString(doc.get()), "SetDocString");
        sizes_.push_back(attr->cbSizeInstance);
        return type;
    }

    // The position of `info` in the source library, or -1 when it lives elsewhere (stdole).
    int SourceIndexOf(ITypeInfo* info) {
        ComPtr<ITypeLib> library;
        UINT index = 0;
        if (FAILED(info->GetContainingTypeLib(&library, &index))) return -1;
        TLIBATTR* theirs = nullptr;
        TLIBATTR* ours = nullptr;
        Check(library->GetLibAttr(&theirs), "GetLibAttr");
        Check(source_->GetLibAttr(&ours), "GetLibAttr");
        const bool same = IsEqualGUID(theirs->guid, ours->guid);
        library->ReleaseTLibAttr(theirs);
        source_->ReleaseTLibAttr(ours);
        return same ? static_cast<int>(index) : -1;
    }

    HREFTYPE MapReference(ITypeInfo* from, ICreateTypeInfo* to, HREFTYPE reference) {
        ComPtr<ITypeInfo> referenced;
        Check(from->GetRefTypeInfo(reference, &referenced), "GetRefTypeInfo");
        const int index = SourceIndexOf(referenced.Get());
        if (index >= 0) {
            referenced.Reset();
            Check(created_[index].As(&referenced), "QueryInterface(ITypeInfo)");
        }
        HREFTYPE mapped = 0;
        Check(to->AddRefTypeInfo(referenced.Get(), &mapped), "AddRefTypeInfo");
        return mapped;
    }

    // Rewrites the references inside a type description for the new library. Nested
    // descriptions are copied into `storage`, never written through the source's memory.
    TYPEDESC MapType(ITypeInfo* from, ICreateTypeInfo* to, const TYPEDESC& type,
                     std::vector<std::vector<TYPEDESC>>& storage) {
        TYPEDESC mapped = type;
        if (type.vt == VT_PTR || type.vt == VT_SAFEARRAY) {
            storage.emplace_back(1, MapType(from, to, *type.lptdesc, storage));
            mapped.lptdesc = storage.back().data();
        } else if (type.vt == VT_USERDEFINED) {
            mapped.hreftype = MapReference(from, to, type.hreftype);
        }
        return mapped;
    }

    void CopyMembers(ITypeInfo* from, ICreateTypeInfo* to) {
        TypeAttr attr(from);
        for (UINT k = 0; k < attr->cImplTypes; ++k) {
            HREFTYPE reference = 0;
            Check(from->GetRefTypeOfImplType(k, &reference), "GetRefTypeOfImplType");
            Check(to->AddImplType(k, MapReference(from, to, reference)), "AddImplType");
            if (attr->typekind == TKIND_COCLASS) {
                INT flags = 0;
                Check(from->GetImplTypeFlags(k, &flags), "GetImplTypeFlags");
                Check(to->SetImplTypeFlags(k, flags), "SetImplTypeFlags");
            }
        }
        for (UINT f = 0; f < attr->cFuncs; ++f) CopyFunction(from, to, f);
        for (UINT v = 0; v < attr->cVars; ++v) CopyVariable(from, to, v, attr->typekind);
    }

    void CopyFunction(ITypeInfo* from, ICreateTypeInfo* to, UINT index) {
        FUNCDESC* source = nullptr;
        Check(from->GetFuncDesc(index, &source), "GetFuncDesc");
        std::vector<std::vector<TYPEDESC>> storage;
        std::vector<ELEMDESC> params(source->lprgelemdescParam,
                                     source->lprgelemdescParam + source->cParams);
        FUNCDESC copy = *source;
        copy.lprgelemdescParam = params.data();
        copy.elemdescFunc.tdesc = MapType(from, to, source->elemdescFunc.tdesc, storage);
        for (auto& param : params) param.tdesc = MapType(from, to, param.tdesc, storage);
        const MEMBERID id = source->memid;
        // A property put's value parameter has no name of its own in a type library.
        UINT names = static_cast<UINT>(source->cParams) + 1;
        if (source->invkind & (INVOKE_PROPERTYPUT | INVOKE_PROPERTYPUTREF)) --names;
        Check(to->AddFuncDesc(index, &copy), "AddFuncDesc");
        from->ReleaseFuncDesc(source);

        std::vector<BSTR> nameList(names + 1, nullptr);
        UINT got = 0;
        Check(from->GetNames(id, nameList.data(), static_cast<UINT>(nameList.size()), &got),
              "GetNames");
        const HRESULT named =
            to->SetFuncAndParamNames(index, nameList.data(), got < names ? got : names);
        for (BSTR name : nameList) SysFreeString(name);
        Check(named, "SetFuncAndParamNames");

        Bstr name, doc;
        Check(from->GetDocumentation(id, name.out(), doc.out(), nullptr, nullptr),
              "GetDocumentation");
        if (doc.get()) Check(to->SetFuncDocString(index, doc.get()), "SetFuncDocString");
    }

    void CopyVariable(ITypeInfo* from, ICreateTypeInfo* to, UINT index, TYPEKIND kind) {
        VARDESC* source = nullptr;
        Check(from->GetVarDesc(index, &source), "GetVarDesc");
        std::vector<std::vector<TYPEDESC>> storage;
        VARDESC copy = *source;
        copy.elemdescVar.tdesc = MapType(from, to, source->elemdescVar.tdesc, storage);
        const MEMBERID id = source->memid;
        const HRESULT added = to->AddVarDesc(index, &copy);
        from->ReleaseVarDesc(source);
        Check(added, "AddVarDesc");

        Bstr name, doc;
        Check(from->GetDocumentation(id, name.out(), doc.out(), nullptr, nullptr),
              "GetDocumentation");
        Check(to->SetVarName(index, name.get()), "SetVarName");
        const BSTR help = (kind == TKIND_ENUM && !doc.get()) ? name.get() : doc.get();
        if (help) Check(to->SetVarDocString(index, help), "SetVarDocString");
    }

    ComPtr<ITypeLib> source_;
    ComPtr<ICreateTypeLib2> target_;
    std::vector<ComPtr<ICreateTypeInfo>> created_;
    std::vector<ULONG> sizes_;
};

// The saved library's layout (the MSFT format): a header, an extra word when a help DLL is
// named, one offset a type, then the segment directory, whose first segment is the table of
// type entries, 0x64 bytes each, with the instance size at 0x50.
constexpr std::uint32_t kMsftMagic = 0x5446534D;
constexpr std::size_t kHeaderSize = 0x54;
constexpr std::size_t kVarFlagsAt = 0x14;
constexpr std::size_t kTypeCountAt = 0x20;
constexpr std::uint32_t kHelpDllFlag = 0x100;
constexpr std::size_t kTypeEntrySize = 0x64;
constexpr std::size_t kInstanceSizeAt = 0x50;

std::uint32_t ReadWord(const std::vector<char>& bytes, std::size_t at) {
    if (at + 4 > bytes.size()) throw Failure("reading the saved library (truncated)", E_FAIL);
    std::uint32_t word = 0;
    std::memcpy(&word, bytes.data() + at, 4);
    return word;
}

// Gives each type of the library at `path` its size from `sizes`, in library order.
void WriteInstanceSizes(const wchar_t* path, const std::vector<ULONG>& sizes) {
    std::vector<char> bytes;
    {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in && !in.eof()) throw Failure("reading the saved library", E_FAIL);
    }
    const std::uint32_t types = ReadWord(bytes, kTypeCountAt);
    if (ReadWord(bytes, 0) != kMsftMagic || types != sizes.size())
        throw Failure("reading the saved library (not the library just written)", E_FAIL);
    const std::size_t directory = kHeaderSize +
                                  ((ReadWord(bytes, kVarFlagsAt) & kHelpDllFlag) ? 4 : 0) +
                                  std::size_t{types} * 4;
    const std::size_t table = ReadWord(bytes, directory);
    if (ReadWord(bytes, directory + 4) != types * kTypeEntrySize)
        throw Failure("reading the saved library (unexpected type table)", E_FAIL);
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const std::size_t at = table + i * kTypeEntrySize + kInstanceSizeAt;
        ReadWord(bytes, at);
        const std::uint32_t size = sizes[i];
        std::memcpy(bytes.data() + at, &size, 4);
    }
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw Failure("writing the saved library", E_FAIL);
}

// Loads the finished library and checks that every type has the size of its source.
void CheckInstanceSizes(const wchar_t* path, const std::vector<ULONG>& sizes) {
    ComPtr<ITypeLib> library;
    Check(LoadTypeLibEx(path, REGKIND_NONE, &library), "LoadTypeLibEx (finished library)");
    if (library->GetTypeInfoCount() != sizes.size())
        throw Failure("checking the finished library (type count)", E_FAIL);
    for (UINT i = 0; i < sizes.size(); ++i) {
        ComPtr<ITypeInfo> info;
        Check(library->GetTypeInfo(i, &info), "GetTypeInfo (finished library)");
        TypeAttr attr(info.Get());
        if (attr->cbSizeInstance != sizes[i])
            throw Failure("checking the finished library (a type's size)", E_FAIL);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 || (wcscmp(argv[3], L"win32") != 0 && wcscmp(argv[3], L"win64") != 0)) {
        std::fputs("usage: CompleteTypeLib input.tlb output.tlb win32|win64\n", stderr);
        return 2;
    }
    const SYSKIND kind = wcscmp(argv[3], L"win64") == 0 ? SYS_WIN64 : SYS_WIN32;
    if (FAILED(CoInitialize(nullptr))) return 1;
    int status = 0;
    try {
        ComPtr<ITypeLib> source;
        Check(LoadTypeLibEx(argv[1], REGKIND_NONE, &source), "LoadTypeLibEx");
        DeleteFileW(argv[2]);
        ComPtr<ICreateTypeLib2> target;
        Check(CreateTypeLib2(kind, argv[2], &target), "CreateTypeLib2");
        std::vector<ULONG> sizes;
        {
            LibraryCopy copy(std::move(source), std::move(target));
            copy.Run();
            sizes = copy.InstanceSizes();
        }  // The saved library is closed: nothing writes to the file any more.
        WriteInstanceSizes(argv[2], sizes);
        CheckInstanceSizes(argv[2], sizes);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "CompleteTypeLib: %s failed (0x%08lX)\n", failure.what(),
                     static_cast<unsigned long>(failure.hr));
        DeleteFileW(argv[2]);
        status = 1;
    }
    CoUninitialize();
    return status;
}
