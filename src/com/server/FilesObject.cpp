#include "com/server/FilesObject.h"

#include "com/server/CollectionIndex.h"
#include "com/server/ComValue.h"
#include "com/server/FileInfoObject.h"
#include "com/server/RecordEnumerator.h"

namespace orv::com {

HRESULT STDMETHODCALLTYPE FilesObject::Add(BSTR strFilePath, BSTR strKey, _clsBAFileInfo** added) {
    if (!added) return E_POINTER;
    *added = nullptr;
    return Guarded([&] {
        *added =
            WrapperFor<FileInfoObject>(core().Add(TextOf(strFilePath), TextOf(strKey))).Detach();
    });
}

HRESULT STDMETHODCALLTYPE FilesObject::Item(VARIANT vntIndexKey, _clsBAFileInfo** item) {
    if (!item) return E_POINTER;
    *item = nullptr;
    return Guarded([&] {
        const CollectionIndex index = ReadCollectionIndex(vntIndexKey);
        const auto record = std::holds_alternative<int32_t>(index)
                                ? core().Item(std::get<int32_t>(index))
                                : core().Item(std::get<std::wstring>(index));
        *item = WrapperFor<FileInfoObject>(record).Detach();
    });
}

HRESULT STDMETHODCALLTYPE FilesObject::get_Count(LONG* count) {
    if (!count) return E_POINTER;
    return Guarded([&] { *count = ComValue<int32_t>::Out(core().Count()); });
}

HRESULT STDMETHODCALLTYPE FilesObject::Remove(VARIANT vntIndexKey) {
    return Guarded([&] {
        const CollectionIndex index = ReadCollectionIndex(vntIndexKey);
        if (std::holds_alternative<int32_t>(index)) {
            core().Remove(std::get<int32_t>(index));
        } else {
            core().Remove(std::get<std::wstring>(index));
        }
    });
}

HRESULT STDMETHODCALLTYPE FilesObject::get_NewEnum(IUnknown** enumerator) {
    if (!enumerator) return E_POINTER;
    *enumerator = nullptr;
    return Guarded([&] { *enumerator = RecordEnumerator::Create(core().NewEnum()); });
}

WORD FilesObject::AdjustFlags(DISPID id, WORD flags) {
    if (id == DISPID_NEWENUM && (flags & DISPATCH_METHOD)) return flags | DISPATCH_PROPERTYGET;
    return flags;
}

}  // namespace orv::com
