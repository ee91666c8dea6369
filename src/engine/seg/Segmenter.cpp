#include "engine/seg/Segmenter.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include <unicode/brkiter.h>
#include <unicode/filteredbrk.h>
#include <unicode/uchar.h>

#include "engine/model/EngineError.h"
#include "engine/text/IcuText.h"

namespace orv::engine {

namespace {

constexpr char16_t kMark = static_cast<char16_t>(kCodeMark);

bool IsLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\u0085' || c == u'\u2028';
}
bool IsParagraphBreak(char16_t c) {
    return c == u'\u2029' || c == u'\f';
}
bool IsSpace(char16_t c) {
    return u_isUWhiteSpace(c);
}

icu::Locale LocaleOf(const std::wstring& language) {
    std::string tag;
    for (wchar_t c : language) {
        if (c <= 0 || c > 0x7E) return icu::Locale::getRoot();
        tag += c == L'_' ? '-' : static_cast<char>(c);  // "en_US" is meant as "en-US"
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::forLanguageTag(tag, status);
    if (U_FAILURE(status) || locale.isBogus()) return icu::Locale::getRoot();
    return locale;
}

// [begin, end) ranges of the text between hard breaks.
std::vector<std::pair<int32_t, int32_t>> Paragraphs(const icu::UnicodeString& text) {
    std::vector<std::pair<int32_t, int32_t>> paragraphs;
    const int32_t n = text.length();
    int32_t start = 0;
    for (int32_t i = 0; i < n; ++i) {
        char16_t c = text[i];
        if (IsParagraphBreak(c)) {
            paragraphs.emplace_back(start, i);
            start = i + 1;
            continue;
        }
        if (!IsLineBreak(c)) continue;
        int32_t next = i + 1;
        if (c == u'\r' && next < n && text[next] == u'\n') ++next;
        int32_t k = next;
        while (k < n && IsSpace(text[k]) && !IsLineBreak(text[k]) && !IsParagraphBreak(text[k]))
            ++k;
        if (k < n && IsLineBreak(text[k])) {
            paragraphs.emplace_back(start, i);
            start = next;
        }
        i = next - 1;
    }
    paragraphs.emplace_back(start, n);
    return paragraphs;
}

}  // namespace

Segmenter::Segmenter(const std::wstring& language, const SrxRules& rules)
    : rules_(rules.For(language)) {
    const icu::Locale locale = LocaleOf(language);
    UErrorCode status = U_ZERO_ERROR;
    sentences_.reset(icu::BreakIterator::createSentenceInstance(locale, status));
    if (U_FAILURE(status) || !sentences_)
        RaiseEngineError(L"The sentence boundary rules of the Unicode library are missing");
    std::unique_ptr<icu::FilteredBreakIteratorBuilder> abbreviations(
        icu::FilteredBreakIteratorBuilder::createInstance(locale, status));
    if (U_SUCCESS(status) && abbreviations) {
        // The builder takes the iterator over even when it fails.
        icu::BreakIterator* filtered =
            abbreviations->wrapIteratorWithFilter(sentences_.release(), status);
        if (U_SUCCESS(status) && filtered) {
            sentences_.reset(filtered);
        } else {
            delete filtered;
            status = U_ZERO_ERROR;
            sentences_.reset(icu::BreakIterator::createSentenceInstance(locale, status));
            if (U_FAILURE(status) || !sentences_)
                RaiseEngineError(L"The sentence boundary rules of the Unicode library are missing");
        }
    }
}

// A boundary is where the sentence boundaries put it, after the spaces that follow a sentence;
// the rules are tried right after its last character, where SRX rules expect a break.
std::vector<int32_t> Segmenter::BreaksOf(const icu::UnicodeString& paragraph,
                                         const icu::UnicodeString& spaced) {
    const int32_t n = paragraph.length();
    std::vector<int32_t> boundaries;
    sentences_->setText(spaced);
    for (int32_t b = sentences_->first(); b != icu::BreakIterator::DONE; b = sentences_->next()) {
        int32_t end = b;
        while (end > 0 && IsSpace(paragraph[end - 1])) --end;
        if (end > 0 && end < n) boundaries.push_back(end);
    }
    rules_.SetText(paragraph);
    std::vector<int32_t> proposed = rules_.ProposedBreaks();
    std::vector<int32_t> candidates;
    std::merge(boundaries.begin(), boundaries.end(), proposed.begin(), proposed.end(),
               std::back_inserter(candidates));
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    std::vector<int32_t> breaks;
    for (int32_t candidate : candidates) {
        const std::optional<bool> decision = rules_.DecisionAt(candidate);
        const bool boundary = std::binary_search(boundaries.begin(), boundaries.end(), candidate);
        if (decision.value_or(boundary)) breaks.push_back(candidate);
    }
    return breaks;
}

Segmenter::~Segmenter() = default;
Segmenter::Segmenter(Segmenter&&) noexcept = default;
Segmenter& Segmenter::operator=(Segmenter&&) noexcept = default;

std::vector<Segment> Segmenter::Split(const Segment& input) {
    const icu::UnicodeString text = ToIcu(input.text);
    const int32_t n = text.length();

    // The code of each mark, by position.
    std::vector<int32_t> markAt(static_cast<std::size_t>(n), -1);
    for (int32_t i = 0, k = 0; i < n; ++i)
        if (text[i] == kMark) markAt[static_cast<std::size_t>(i)] = k++;
    auto codeAt = [&](int32_t position) {
        auto k = static_cast<std::size_t>(markAt[static_cast<std::size_t>(position)]);
        return k < input.codes.size() ? input.codes[k] : InlineCode{};
    };

    std::vector<Segment> segments;
    auto emit = [&](int32_t begin, int32_t end) {
        while (begin < end && IsSpace(text[begin])) ++begin;
        while (end > begin && IsSpace(text[end - 1])) --end;
        bool hasText = false;
        for (int32_t i = begin; i < end && !hasText; ++i)
            hasText = text[i] != kMark && !IsSpace(text[i]);
        if (!hasText) return;
        Segment segment;
        segment.text = FromIcu(text.getBuffer() + begin, end - begin);
        for (int32_t i = begin; i < end; ++i)
            if (text[i] == kMark) segment.codes.push_back(codeAt(i));
        segments.push_back(std::move(segment));
    };

    for (auto [begin, end] : Paragraphs(text)) {
        const icu::UnicodeString paragraph(text, begin, end - begin);
        icu::UnicodeString spaced = paragraph;
        for (int32_t i = 0; i < spaced.length(); ++i)
            if (IsLineBreak(spaced[i])) spaced.setCharAt(i, u' ');
        std::vector<int32_t> breaks = BreaksOf(paragraph, spaced);
        breaks.insert(breaks.begin(), 0);
        breaks.push_back(paragraph.length());

        // A closing code just after a sentence's end closes that sentence; so does any
        // other code not separated from it by a space. An opening code opens the next.
        for (std::size_t k = 1; k + 1 < breaks.size(); ++k) {
            int32_t moved = breaks[k];
            bool gap = breaks[k] > 0 && IsSpace(paragraph[breaks[k] - 1]);
            for (int32_t i = breaks[k]; i < breaks[k + 1]; ++i) {
                if (paragraph[i] == kMark) {
                    InlineCode::Kind kind = codeAt(begin + i).kind;
                    if (kind == InlineCode::Kind::Begin) break;
                    if (kind != InlineCode::Kind::End && gap) break;
                    moved = i + 1;
                    gap = false;
                } else if (IsSpace(paragraph[i])) {
                    gap = true;
                } else {
                    break;
                }
            }
            breaks[k] = std::max(breaks[k - 1], moved);
        }
        for (std::size_t k = 0; k + 1 < breaks.size(); ++k)
            emit(begin + breaks[k], begin + breaks[k + 1]);
    }
    return segments;
}

}  // namespace orv::engine
