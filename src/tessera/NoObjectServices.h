#pragma once
// Object services of a machine on which neither Tessera nor Word is installed: nothing can be
// created and nothing is running. Starting Tessera then fails as it does on such a machine.

#include "tessera/ObjectServices.h"

namespace orv {

class NoObjectServices : public ObjectServices {
public:
    std::shared_ptr<TessappApplication> CreateTessera() override { return nullptr; }
    std::shared_ptr<TessappApplication> LookUpTessera() override { return nullptr; }
    std::shared_ptr<LateBoundObject> CreateWord() override { return nullptr; }
    std::shared_ptr<LateBoundObject> LookUpWord() override { return nullptr; }
};

}  // namespace orv
