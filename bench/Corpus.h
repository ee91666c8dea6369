#pragma once
// A translation memory and a batch of segments to match against it, for the benchmarks.

#include <vector>

#include "engine/model/TranslationMemory.h"

namespace orv::bench {

struct Corpus {
    engine::TranslationMemory tm;  // en-US units with de-DE translations
    std::vector<engine::Segment> batch;
};

}  // namespace orv::bench
