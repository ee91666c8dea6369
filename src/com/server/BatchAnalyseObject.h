#pragma once
// The published BatchAnalyse: the analysis settings, the child objects as the same COM
// object on every read, the operations, and the relayed cancel event.

#include "OrvBatchAnalyse_h.h"
#include "com/server/EventingObject.h"
#include "com/server/PropertyMacros.h"
#include "front/BatchAnalyse.h"

namespace orv::com {

class BatchAnalyseObject final : public EventingObject<_BatchAnalyse, BatchAnalyse> {
public:
    using Published = _BatchAnalyse;
    static BatchAnalyseObject* Create(std::shared_ptr<BatchAnalyse> core) {
        return new BatchAnalyseObject(std::move(core));
    }

    ORV_SESSION_PROPERTIES(ORV_COM_PROPERTY)
    ORV_JOB_FILE_PROPERTIES(ORV_COM_PROPERTY)
    ORV_COM_PROPERTY(bool, CreateEmptyTM)
    ORV_COM_PROPERTY(std::wstring, Name)
    ORV_COM_PROPERTY(std::wstring, Key)

    HRESULT STDMETHODCALLTYPE get_Files(_Files** files) override;
    HRESULT STDMETHODCALLTYPE putref_Files(_Files* vData) override;
    HRESULT STDMETHODCALLTYPE get_BATesserasettings(_clsBATesseraSettings** settings) override;
    HRESULT STDMETHODCALLTYPE putref_BATesserasettings(_clsBATesseraSettings* vData) override;
    HRESULT STDMETHODCALLTYPE get_BATessera(_clsBATessera** session) override;
    HRESULT STDMETHODCALLTYPE putref_BATessera(_clsBATessera* vData) override;

    HRESULT STDMETHODCALLTYPE Analyse(VARIANT_BOOL* analysed) override;
    HRESULT STDMETHODCALLTYPE CloseTessera(VARIANT_BOOL* closed) override;
    HRESULT STDMETHODCALLTYPE GetLogFileContent(BSTR* content) override;
    HRESULT STDMETHODCALLTYPE GetCsvLogFileContentWithoutHeader(BSTR* content) override;
    HRESULT STDMETHODCALLTYPE GetCsvLogFileContent(BSTR* content) override;
    HRESULT STDMETHODCALLTYPE StartTessera(VARIANT_BOOL* started) override;

private:
    explicit BatchAnalyseObject(std::shared_ptr<BatchAnalyse> core);

    Subscription cancelled_;
};

}  // namespace orv::com
