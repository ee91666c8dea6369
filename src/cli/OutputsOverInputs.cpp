#include "cli/OutputsOverInputs.h"

#include <optional>
#include <utility>

#include "cli/tm/UsageError.h"
#include "engine/app/FileIdentity.h"

namespace orv::cli {

void RefuseOutputsOverInputs(const std::vector<NamedPath>& inputs,
                             const std::vector<NamedPath>& outputs) {
    std::vector<std::pair<engine::FileIdentity, const NamedPath*>> known;
    for (const auto& input : inputs) {
        if (const auto identity = engine::IdentityOf(input.path))
            known.emplace_back(*identity, &input);
    }
    const std::size_t inputCount = known.size();
    for (const auto& output : outputs) {
        const auto identity = engine::IdentityOf(output.path);
        if (!identity) continue;
        for (std::size_t i = 0; i < known.size(); ++i) {
            if (!(known[i].first == *identity)) continue;
            const NamedPath& other = *known[i].second;
            throw UsageError(output.role + " \"" + output.path + "\" " +
                             (i < inputCount ? "would overwrite " : "is the same file as ") +
                             other.role + " \"" + other.path + "\"; nothing was written");
        }
        known.emplace_back(*identity, &output);
    }
}

}  // namespace orv::cli
