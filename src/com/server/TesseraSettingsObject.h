#pragma once
// The published clsBATesseraSettings: the option values written into Tessera.

#include "OrvBatchAnalyse_h.h"
#include "com/server/AutomationObject.h"
#include "com/server/PropertyMacros.h"
#include "tessera/clsBATesseraSettings.h"

namespace orv::com {

class TesseraSettingsObject final
    : public AutomationObject<_clsBATesseraSettings, clsBATesseraSettings> {
public:
    using Published = _clsBATesseraSettings;
    static TesseraSettingsObject* Create(std::shared_ptr<clsBATesseraSettings> core) {
        return new TesseraSettingsObject(std::move(core));
    }

    ORV_COM_PROPERTY(bool, WasInitialised)
#define ORV_SETTING_PROPERTY(type, group, property, written) \
    ORV_COM_PROPERTY(type, Options##group##property)
    ORV_TESSERA_SETTINGS(ORV_SETTING_PROPERTY)
#undef ORV_SETTING_PROPERTY

private:
    explicit TesseraSettingsObject(std::shared_ptr<clsBATesseraSettings> core)
        : AutomationObject(std::move(core)) {}
};

}  // namespace orv::com
