#pragma once
// One option group of the Tessera double: a bag of typed properties that keeps what is put
// (coerced to the property's type, as the real group interface does) and records every write
// in the doubles' state as "Group.Property=value" (Booleans as True/False).

#include <memory>
#include <vector>

#include "ApplicationLink.h"
#include "DispatchObject.h"
#include "OptionGroupTable.h"

namespace orv::testdoubles {

class OptionGroupDouble final : public DispatchObject {
public:
    OptionGroupDouble(const OptionGroupShape& shape, std::shared_ptr<ApplicationLink> link);

protected:
    bool Disconnected() const override { return !link_->connected(); }

private:
    void Put(size_t index, DispatchCall& call);

    const OptionGroupShape& shape_;
    std::shared_ptr<ApplicationLink> link_;
    std::vector<OwnedVariant> values_;
};

}  // namespace orv::testdoubles
