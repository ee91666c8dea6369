#pragma once
// The published clsBATessera: StartTessera, CloseTessera and the relayed cancel event.
// Its other members are the component's own and have no COM form.

#include "OrvBatchAnalyse_h.h"
#include "com/server/EventingObject.h"
#include "tessera/EventSource.h"
#include "tessera/clsBATessera.h"

namespace orv::com {

class TesseraSessionObject final : public EventingObject<_clsBATessera, clsBATessera> {
public:
    using Published = _clsBATessera;
    static TesseraSessionObject* Create(std::shared_ptr<clsBATessera> core) {
        return new TesseraSessionObject(std::move(core));
    }

    HRESULT STDMETHODCALLTYPE CloseTessera(VARIANT_BOOL* closed) override;
    HRESULT STDMETHODCALLTYPE StartTessera(VARIANT_BOOL* started) override;

private:
    explicit TesseraSessionObject(std::shared_ptr<clsBATessera> core);

    Subscription cancelled_;
};

}  // namespace orv::com
