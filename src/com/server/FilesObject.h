#pragma once
// The published Files collection: positions and keys as scripts pass them, and
// enumeration for For Each (VBScript) and Enumerator (JScript).

#include "OrvBatchAnalyse_h.h"
#include "com/server/AutomationObject.h"
#include "results/Files.h"

namespace orv::com {

class FilesObject final : public AutomationObject<_Files, Files> {
public:
    using Published = _Files;
    static FilesObject* Create(std::shared_ptr<Files> core) {
        return new FilesObject(std::move(core));
    }

    HRESULT STDMETHODCALLTYPE Add(BSTR strFilePath, BSTR strKey, _clsBAFileInfo** added) override;
    HRESULT STDMETHODCALLTYPE Item(VARIANT vntIndexKey, _clsBAFileInfo** item) override;
    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override;
    HRESULT STDMETHODCALLTYPE Remove(VARIANT vntIndexKey) override;
    HRESULT STDMETHODCALLTYPE get_NewEnum(IUnknown** enumerator) override;

protected:
    // JScript's Enumerator asks for the enumerator as a method call, which the type
    // library's property would refuse.
    WORD AdjustFlags(DISPID id, WORD flags) override;

private:
    explicit FilesObject(std::shared_ptr<Files> core) : AutomationObject(std::move(core)) {}
};

}  // namespace orv::com
