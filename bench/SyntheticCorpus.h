#pragma once
// Made-up English sentences with German translations, the same for the same seed on every
// machine and nothing kept on disk. Words are drawn from a vocabulary of 20,000 by a Zipf
// law (s = 1.1), 5 to 25 words or numbers a sentence, with commas, end marks and, now and
// then, a bold span (a pair of inline codes).
//
// The batch mixes, in this order of likelihood: new sentences, copies of a unit's source
// with 1 to 6 tokens substituted, deleted or inserted, exact copies of a unit's source, and
// repetitions of an earlier segment of the batch. One unit in a hundred repeats an earlier
// unit's source with another translation.

#include <cstddef>
#include <cstdint>

#include "Corpus.h"

namespace orv::bench {

Corpus MakeSyntheticCorpus(std::size_t units, std::size_t queries, uint64_t seed);

}  // namespace orv::bench
