#pragma once
// Builds a TmIndex from units handed over a few at a time, so that a memory read from its
// file goes into the index as it is read and is never held whole (ReadTmxFileUnits).

#include <cstddef>
#include <memory>
#include <span>
#include <string>

#include "engine/match/Substitution.h"
#include "engine/match/TmIndex.h"
#include "engine/model/LoadCancelled.h"
#include "engine/model/TranslationMemory.h"

namespace orv::engine {

class TmIndexBuilder {
public:
    // How many units Add tokenises at once: enough to keep every thread busy, few enough that
    // their tokens, held apart until they join the arrays, stay a small part of the memory,
    // and that a memory read as it is indexed keeps both going (measured: 2,048 is quicker
    // than 1,024 or 8,192). A caller reading a memory hands them over in blocks of this size.
    static constexpr std::size_t kUnitsPerBlock = 2048;

    // As the TmIndex constructor of a whole TranslationMemory takes them.
    TmIndexBuilder(const std::wstring& targetLanguage, unsigned threads = 0,
                   const StopCheck& stop = {}, const SubstitutionOptions& substitution = {});
    ~TmIndexBuilder();
    TmIndexBuilder(const TmIndexBuilder&) = delete;
    TmIndexBuilder& operator=(const TmIndexBuilder&) = delete;

    // The next units of the memory, in its order; their positions count on from the units
    // added before. Nothing of `units` is kept.
    void Add(std::span<const TranslationUnit> units);
    // The index of every unit added. The builder is spent.
    TmIndex Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orv::engine
