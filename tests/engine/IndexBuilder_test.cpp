#include "engine/match/TmIndexBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "IndexRandomTm.h"
#include "engine/match/TmIndexData.h"

namespace orv::engine {
namespace {

// Every array of `a` holds what the same array of `b` holds, byte for byte.
void ExpectSameArrays(const TmIndex& a, const TmIndex& b, const std::string& trace) {
    SCOPED_TRACE(trace);
    const TmIndex::Data& x = a.data();
    const TmIndex::Data& y = b.data();
#define ORV_EXPECT_SAME_ARRAY(name, type)                                                        \
    EXPECT_TRUE(                                                                                 \
        x.name.size() == y.name.size() &&                                                        \
        (x.name.empty() || std::memcmp(x.name.data(), y.name.data(), x.name.size_bytes()) == 0)) \
        << #name;
    ORV_TM_INDEX_ARRAYS(ORV_EXPECT_SAME_ARRAY)
#undef ORV_EXPECT_SAME_ARRAY
}

TmIndex BuiltInBlocks(const TranslationMemory& tm, std::size_t blockSize,
                      const SubstitutionOptions& substitution) {
    TmIndexBuilder builder(L"de-DE", 2, {}, substitution);
    const std::span<const TranslationUnit> units(tm.units);
    for (std::size_t from = 0; from < units.size(); from += blockSize)
        builder.Add(units.subspan(from, std::min(blockSize, units.size() - from)));
    return builder.Finish();
}

// A memory read from its file is handed over in blocks of whatever size: the index must be
// the one built from the whole memory at once.
TEST(IndexBuilderTest, AnIndexBuiltABlockAtATimeIsTheOneBuiltWhole) {
    SubstitutionOptions numbers;
    numbers.numbers = true;
    for (const SubstitutionOptions& substitution : {SubstitutionOptions{}, numbers}) {
        test::RandomTm random(11);
        const auto generated = random.NewTm(3000);
        const TmIndex whole(generated.tm, L"de-DE", 2, {}, substitution);
        ASSERT_GT(whole.data().Relays(), 0u);
        ASSERT_GT(std::count(whole.data().entryMultiple.begin(), whole.data().entryMultiple.end(),
                             uint8_t{1}),
                  0);
        for (std::size_t blockSize :
             {std::size_t{1}, std::size_t{7}, std::size_t{1000}, TmIndexBuilder::kUnitsPerBlock})
            ExpectSameArrays(BuiltInBlocks(generated.tm, blockSize, substitution), whole,
                             "blocks of " + std::to_string(blockSize) +
                                 (substitution.Any() ? ", numbers substituted" : ""));
    }
}

// Whether a source has more than one translation is told from the translations' normalised
// texts, however they are written.
TEST(IndexBuilderTest, TranslationsThatNormaliseAlikeAreOneTranslation) {
    struct Case {
        const char* name;
        std::vector<std::vector<std::wstring>> units;  // each unit's de-DE translations
        bool multiple;
    };
    const Case cases[] = {
        {"one unit, one translation", {{L"Haus"}}, false},
        {"one unit, two translations", {{L"Haus", L"Gebäude"}}, true},
        {"two units, the same translation", {{L"Haus"}, {L"Haus"}}, false},
        {"two units, two translations", {{L"Haus"}, {L"Häuser"}}, true},
        {"spaces around and between", {{L"Das Haus"}, {L" Das  Haus\t"}}, false},
        {"a no-break space is whitespace", {{L"Das Haus"}, {L"Das\u00A0Haus"}}, false},
        {"composed and decomposed accents", {{L"Caf\u00E9 noir"}, {L"Cafe\u0301 noir"}}, false},
        {"letter case counts", {{L"Haus"}, {L"haus"}}, true},
        {"a blank translation is none", {{L"Haus"}, {L"  "}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TranslationMemory tm{L"en-US", {L"de-DE"}, {}};
        for (const auto& translations : c.units) {
            TranslationUnit unit{Segment{L"The house", {}}, {}};
            for (const std::wstring& text : translations)
                unit.targets.push_back({L"de-DE", Segment{text, {}}});
            tm.units.push_back(std::move(unit));
        }
        const TmIndex index(tm, L"de-DE", 1);
        for (uint8_t multiple : index.data().entryMultiple) EXPECT_EQ(multiple != 0, c.multiple);
    }
}

}  // namespace
}  // namespace orv::engine
