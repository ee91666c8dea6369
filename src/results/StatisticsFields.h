#pragma once
// The whole-number statistics fields of a document record, in interface order (CharsPerWord,
// the one floating-point field, stands between TaggingErrors and SegmentsTotal in the
// interface and is kept apart here). One list feeds the record's accessors, the parser's
// column table and the automation layer, so a field cannot be forgotten in one of them.

#include <cstddef>
#include <cstdint>

// X(name) for each field.
// clang-format off
#define ORV_COUNT_FIELDS(X)    \
    X(TaggingErrors)           \
    X(SegmentsTotal)           \
    X(WordsTotal)              \
    X(PlaceablesTotal)         \
    X(CharactersTotal)         \
    X(SegmentsInRepetitions)   \
    X(WordsInRepetitions)      \
    X(PlaceablesInRepetitions) \
    X(PercentInRepetitions)    \
    X(SegmentsIn100Matches)    \
    X(WordsIn100Matches)       \
    X(PlaceablesIn100Matches)  \
    X(PercentIn100Matches)     \
    X(SegmentsIn95Matches)     \
    X(WordsIn95Matches)        \
    X(PlaceablesIn95Matches)   \
    X(PercentIn95Matches)      \
    X(SegmentsIn85Matches)     \
    X(WordsIn85Matches)        \
    X(PlaceablesIn85Matches)   \
    X(PercentIn85Matches)      \
    X(SegmentsIn75Matches)     \
    X(WordsIn75Matches)        \
    X(PlaceablesIn75Matches)   \
    X(PercentIn75Matches)      \
    X(SegmentsIn50Matches)     \
    X(WordsIn50Matches)        \
    X(PlaceablesIn50Matches)   \
    X(PercentIn50Matches)      \
    X(SegmentsInRelay)         \
    X(WordsInRelay)            \
    X(PlaceablesInRelay)       \
    X(PercentInRelay)          \
    X(SegmentsInNoMatches)     \
    X(WordsInNoMatches)        \
    X(PlaceablesInNoMatches)   \
    X(PercentInNoMatches)
// clang-format on

namespace orv {

enum class CountField : std::size_t {
#define ORV_ENUM_ENTRY(name) name,
    ORV_COUNT_FIELDS(ORV_ENUM_ENTRY)
#undef ORV_ENUM_ENTRY
};

#define ORV_PLUS_ONE(name) +1
inline constexpr std::size_t kCountFieldCount = 0 ORV_COUNT_FIELDS(ORV_PLUS_ONE);
#undef ORV_PLUS_ONE

// The match bands in interface order.
enum class Band : std::size_t {
    Repetitions,
    Matches100,
    Matches95,
    Matches85,
    Matches75,
    Matches50,
    Relay,
    NoMatches,
};
inline constexpr std::size_t kBandCount = 8;

// The four per-band measures in interface order.
enum class Measure : std::size_t { Segments, Words, Placeables, Percent };

// The field that holds `measure` of `band`.
constexpr CountField BandField(Band band, Measure measure) {
    return static_cast<CountField>(static_cast<std::size_t>(CountField::SegmentsInRepetitions) +
                                   4 * static_cast<std::size_t>(band) +
                                   static_cast<std::size_t>(measure));
}

static_assert(BandField(Band::NoMatches, Measure::Percent) == CountField::PercentInNoMatches);
static_assert(BandField(Band::Relay, Measure::Segments) == CountField::SegmentsInRelay);

}  // namespace orv
