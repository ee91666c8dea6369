#pragma once
// A translation memory prepared for matching into one target language: every unit with a
// translation into that language is tokenised once and reachable by its exact text (a
// hash) and by its tokens (an inverted index), so that a search looks at the few units
// that can match instead of all of them. Units that are translated only into other
// languages are kept for relayed matches. Build one per analysis run; MatchBatch in
// Matcher.h searches it. An index does not change once built: any number of threads may
// search it at once.

#include <cstddef>
#include <memory>
#include <string>

#include "engine/match/Substitution.h"
#include "engine/model/LoadCancelled.h"
#include "engine/model/TranslationMemory.h"

namespace orv::engine {

class TmIndex {
public:
    struct Data;  // the matcher's view, defined in TmIndexData.h

    // `targetLanguage` is a BCP 47 tag, compared without regard to letter case ("de-de"
    // selects the "de-DE" translations; "de" does not). A unit counts as translated into
    // a language when it holds a translation into it that is not blank. `threads` share
    // the tokenising (0: one per processor). The index keeps no reference to `tm`. `stop` is
    // asked after every unit tokenised and between the later steps; once it gives true the
    // building ends with LoadCancelled. With `substitution` on, every source and every
    // segment searched for is compared with its values substituted (Substitution.h).
    TmIndex(const TranslationMemory& tm, const std::wstring& targetLanguage, unsigned threads = 0,
            const StopCheck& stop = {}, const SubstitutionOptions& substitution = {});
    // An index whose arrays are already made: read from a cache file (TmIndexFile.h).
    explicit TmIndex(std::unique_ptr<Data> data);
    ~TmIndex();
    TmIndex(TmIndex&&) noexcept;
    TmIndex& operator=(TmIndex&&) noexcept;

    const std::wstring& targetLanguage() const;
    // How many units have a translation into the target language.
    std::size_t matchableUnits() const;

    const Data& data() const { return *data_; }

private:
    std::unique_ptr<Data> data_;
};

}  // namespace orv::engine
