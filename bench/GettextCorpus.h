#pragma once
// A real corpus made at run time from the German gettext catalogues this machine's packages
// install (/usr/share/locale/de/LC_MESSAGES/*.mo and, where present, the same folder under
// /usr/share/locale-langpack): each catalogue is turned back into PO text by msgunfmt (Debian
// package gettext), its msgid/msgstr pairs become en-US units with de-DE translations, and
// some msgids are held out as the batch to analyse. Nothing of it is kept on disk.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Corpus.h"

namespace orv::bench {

struct GettextCorpus {
    Corpus corpus;
    std::size_t pairs = 0;       // distinct msgids found, batch and TM together
    std::size_t catalogues = 0;  // .mo files read
};

// The pairs, each msgid once (its first translation, catalogues in path order), shuffled by
// `seed`; the first `heldOut` msgids are the batch and the other pairs the TM. Throws
// std::runtime_error when msgunfmt cannot be found.
GettextCorpus LoadGettextCorpus(std::size_t heldOut, uint64_t seed);

// The msgid/msgstr pairs of PO text, in UTF-8, escapes resolved. Left out: the header,
// plural forms, fuzzy and untranslated entries and msgids of fewer than two words.
std::vector<std::pair<std::string, std::string>> ParsePo(std::string_view po);

}  // namespace orv::bench
