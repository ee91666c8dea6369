#pragma once
// An object of another application that the component only calls methods of by name (Word's
// application object). Used on the thread that made it.

#include <windows.h>

#include <oaidl.h>
#include <wrl/client.h>

#include "com/client/LateBoundDispatch.h"
#include "tessera/ObjectServices.h"

namespace orv::com {

class ComLateBoundObject final : public LateBoundObject {
public:
    explicit ComLateBoundObject(Microsoft::WRL::ComPtr<IDispatch> object);

    void CallMethod(const std::wstring& name) override;

private:
    LateBoundDispatch dispatch_;
};

}  // namespace orv::com
