#include "engine/text/Tokenizer.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf16.h>

#include "engine/model/EngineError.h"
#include "engine/text/IcuText.h"
#include "engine/text/Placeholders.h"

namespace orv::engine {

namespace {

using Kind = TokenKind;
constexpr char16_t kMark = kCodeMarkIn<char16_t>;

// ICU break iterators are not thread-safe. Each tokenising borrows a clone of one prototype
// (cheaper than building an iterator from the rules) and gives it back, so that there are never
// more clones than threads tokenising at once. Not a thread_local clone: the MinGW runtime runs
// the destructors of thread_local objects unsafely when a thread ends.
class WordBreakerLease {
public:
    WordBreakerLease() {
        {
            const std::lock_guard<std::mutex> lock(PoolMutex());
            auto& pool = Pool();
            if (!pool.empty()) {
                breaker_ = std::move(pool.back());
                pool.pop_back();
                return;
            }
        }
        breaker_.reset(Prototype().clone());
        if (!breaker_) throw std::bad_alloc();
    }
    ~WordBreakerLease() {
        const std::lock_guard<std::mutex> lock(PoolMutex());
        Pool().push_back(std::move(breaker_));
    }
    WordBreakerLease(const WordBreakerLease&) = delete;
    WordBreakerLease& operator=(const WordBreakerLease&) = delete;

    icu::BreakIterator& get() { return *breaker_; }

private:
    static const icu::BreakIterator& Prototype() {
        static const std::unique_ptr<icu::BreakIterator> prototype = [] {
            UErrorCode status = U_ZERO_ERROR;
            std::unique_ptr<icu::BreakIterator> iterator(
                icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status));
            if (U_FAILURE(status)) iterator.reset();
            return iterator;
        }();
        if (!prototype)
            RaiseEngineError(L"The word boundary rules of the Unicode library are missing");
        return *prototype;
    }
    static std::mutex& PoolMutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::vector<std::unique_ptr<icu::BreakIterator>>& Pool() {
        static std::vector<std::unique_ptr<icu::BreakIterator>> pool;
        return pool;
    }

    std::unique_ptr<icu::BreakIterator> breaker_;
};

// The character tests below answer ASCII, most of the text of most memories, without asking
// the Unicode library's property tables.
bool IsSpace(UChar32 c) {
    if (c < 0x80) return c == ' ' || (c >= 0x09 && c <= 0x0D);
    return u_isUWhiteSpace(c);
}

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool IsAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
char16_t AsciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

bool StartsWithIgnoringAsciiCase(const char16_t* s, int32_t a, int32_t b,
                                 std::u16string_view prefix) {
    if (b - a < static_cast<int32_t>(prefix.size())) return false;
    for (std::size_t k = 0; k < prefix.size(); ++k)
        if (AsciiLower(s[a + static_cast<int32_t>(k)]) != prefix[k]) return false;
    return true;
}

bool IsIn(char16_t c, std::u16string_view set) {
    return set.find(c) != std::u16string_view::npos;
}

// local@domain.tld, the domain made of letter-digit-hyphen labels and ending in a
// top-level label of letters only.
bool IsEmail(const char16_t* s, int32_t a, int32_t b) {
    int32_t at = -1;
    for (int32_t i = a; i < b; ++i) {
        if (s[i] != u'@') continue;
        if (at >= 0) return false;
        at = i;
    }
    if (at <= a || at >= b - 1 || s[a] == u'.' || s[at - 1] == u'.') return false;
    for (int32_t i = a; i < at;) {
        UChar32 c;
        U16_NEXT(s, i, at, c);
        if (!u_isalnum(c) && !(c < 0x80 && IsIn(static_cast<char16_t>(c), u"._%+-'"))) return false;
    }
    int32_t labels = 0, labelLength = 0;
    bool labelAllLetters = true;
    for (int32_t i = at + 1; i <= b;) {
        if (i == b || s[i] == u'.') {
            if (labelLength == 0 || s[i - 1] == u'-') return false;
            ++labels;
            if (i == b) break;
            labelLength = 0;
            labelAllLetters = true;
            ++i;
            continue;
        }
        UChar32 c;
        U16_NEXT(s, i, b, c);
        if (c == u'-') {
            if (labelLength == 0) return false;
        } else if (!u_isalnum(c)) {
            return false;
        }
        labelAllLetters = labelAllLetters && u_isalpha(c);
        ++labelLength;
    }
    return labels >= 2 && labelLength >= 2 && labelAllLetters;
}

// scheme://something, mailto:address or www.host.domain.
bool IsUrl(const char16_t* s, int32_t a, int32_t b) {
    if (IsAsciiLetter(s[a])) {
        int32_t i = a + 1;
        while (i < b && (IsAsciiLetter(s[i]) || IsAsciiDigit(s[i]) || IsIn(s[i], u"+-."))) ++i;
        if (b - i > 3 && s[i] == u':' && s[i + 1] == u'/' && s[i + 2] == u'/') {
            UChar32 c;
            int32_t j = i + 3;
            U16_NEXT(s, j, b, c);
            if (u_isalnum(c) || c == u'/' || c == u'[') return true;
        }
        if (i - a == 6 && StartsWithIgnoringAsciiCase(s, a, b, u"mailto") && i < b &&
            s[i] == u':' && IsEmail(s, i + 1, b))
            return true;
    }
    if (StartsWithIgnoringAsciiCase(s, a, b, u"www.")) {
        for (int32_t i = a + 5; i + 1 < b; ++i)
            if (s[i] == u'.' && s[i - 1] != u'.' && s[i + 1] != u'.') return true;
    }
    return false;
}

struct Span {
    int32_t begin;
    int32_t end;
    Kind kind;
};

// Whitespace-separated chunks of s[from, n) that, without the punctuation around them, are
// URLs or e-mail addresses. Code marks separate chunks too, so a span never holds a code.
void FindUrlsAndEmails(const char16_t* s, int32_t from, int32_t n, std::vector<Span>& spans) {
    auto separates = [](UChar32 c) { return IsSpace(c) || c == kMark; };
    for (int32_t i = from; i < n;) {
        UChar32 c;
        int32_t a = i;
        U16_NEXT(s, i, n, c);
        if (separates(c)) continue;
        int32_t b = i;
        bool promising = c == u'@' || c == u':';
        while (i < n) {
            int32_t at = i;
            U16_NEXT(s, i, n, c);
            if (separates(c)) {
                i = at;
                break;
            }
            b = i;
            promising = promising || c == u'@' || c == u':';
        }
        while (a < b && IsIn(s[a], u"([{<\"'\u00AB\u201C\u2018\u00BF\u00A1")) ++a;
        if (!promising && !StartsWithIgnoringAsciiCase(s, a, b, u"www.")) continue;
        int32_t opened = 0, closed = 0;  // parentheses, so that a URL keeps its own ")"
        for (int32_t k = a; k < b; ++k) {
            opened += s[k] == u'(';
            closed += s[k] == u')';
        }
        while (a < b) {
            char16_t last = s[b - 1];
            if (last == u')' && opened < closed) {
                --closed;
                --b;
            } else if (IsIn(last, u".,;:!?'\"]}>\u00BB\u201D\u2019\u2026\u3002\u3001")) {
                --b;
            } else {
                break;
            }
        }
        if (b - a < 4) continue;
        if (IsUrl(s, a, b))
            spans.push_back({a, b, Kind::Url});
        else if (IsEmail(s, a, b))
            spans.push_back({a, b, Kind::Email});
    }
}

template <CodeUnit Unit>
BasicToken<Unit> MakeToken(Kind kind, const char16_t* s, int32_t a, int32_t b) {
    // Most tokens of most memories are ASCII, whose case folding is its lower case: the
    // Unicode library's folding is left for the others.
    if (std::all_of(s + a, s + b, [](char16_t c) { return c < 0x80; })) {
        BasicToken<Unit> token{kind, std::basic_string<Unit>(s + a, s + b), {}};
        token.folded = token.text;
        for (Unit& c : token.folded) c = static_cast<Unit>(AsciiLower(static_cast<char16_t>(c)));
        return token;
    }
    icu::UnicodeString folded(s + a, b - a);
    folded.foldCase();
    return {kind, FromIcu<Unit>(s + a, b - a), FromIcu<Unit>(folded.getBuffer(), folded.length())};
}

template <CodeUnit Unit>
BasicToken<Unit> CodeToken() {
    const std::basic_string<Unit> mark(1, kCodeMarkIn<Unit>);
    return {Kind::Code, mark, mark};
}

// Word tokens of s[a, b), which holds no code mark and no URL, with a code token for each of
// `codes` (offsets from a, ascending): before the token it precedes, after the one it is in.
template <CodeUnit Unit>
void BreakWords(const char16_t* s, int32_t a, int32_t b, const std::vector<int32_t>& codes,
                std::vector<BasicToken<Unit>>& tokens) {
    std::size_t code = 0;
    WordBreakerLease lease;
    icu::BreakIterator& words = lease.get();
    UErrorCode status = U_ZERO_ERROR;
    UText text = UTEXT_INITIALIZER;
    utext_openUChars(&text, s + a, b - a, &status);
    words.setText(&text, status);  // the iterator keeps its own shallow clone of `text`
    utext_close(&text);
    if (U_FAILURE(status)) RaiseEngineError(L"The text could not be split into words");
    int32_t start = words.first();
    for (int32_t end = words.next(); end != icu::BreakIterator::DONE;
         start = end, end = words.next()) {
        bool visible = false, letterOrDigit = false;
        for (int32_t i = a + start; i < a + end;) {
            UChar32 c;
            U16_NEXT(s, i, a + end, c);
            if (c < 0x80) {
                const auto ascii = static_cast<char16_t>(c);
                visible = visible || (c > 0x20 && c != 0x7F);
                letterOrDigit = letterOrDigit || IsAsciiLetter(ascii) || IsAsciiDigit(ascii);
                continue;
            }
            int8_t type = u_charType(c);
            visible = visible || (!IsSpace(c) && type != U_CONTROL_CHAR && type != U_FORMAT_CHAR);
            letterOrDigit = letterOrDigit || u_isalnum(c);
        }
        if (!visible) continue;
        int32_t rule = words.getRuleStatus();
        Kind kind = rule >= UBRK_WORD_NUMBER && rule < UBRK_WORD_NUMBER_LIMIT ? Kind::Number
                    : letterOrDigit                                           ? Kind::Word
                                                                              : Kind::Punctuation;
        for (; code < codes.size() && codes[code] <= start; ++code)
            tokens.push_back(CodeToken<Unit>());
        tokens.push_back(MakeToken<Unit>(kind, s, a + start, a + end));
        for (; code < codes.size() && codes[code] < end; ++code)
            tokens.push_back(CodeToken<Unit>());
    }
    for (; code < codes.size(); ++code) tokens.push_back(CodeToken<Unit>());
}

// The segment's text as it is tokenised: in NFC, with each placeholder code replaced by the
// placeholder it holds, so that it reads as the same placeholder written as text would.
struct ReadableText {
    icu::UnicodeString text;
    std::vector<Span> placeholders;  // where the placeholder codes were
    std::vector<int32_t> paired;     // the marks of paired codes, ascending
};

template <CodeUnit Unit>
ReadableText Read(const BasicSegment<Unit>& segment) {
    ReadableText read;
    const auto append = [&read](std::basic_string_view<Unit> piece) {
        icu::UnicodeString nfc = ToNfc(ToIcu(piece));
        if (read.text.isEmpty())
            read.text = std::move(nfc);
        else
            read.text.append(nfc);
    };
    const std::basic_string_view<Unit> text = segment.text;
    std::size_t next = 0, piece = 0;
    for (std::size_t i = 0;; ++i) {
        if (i < text.size() && text[i] != kCodeMarkIn<Unit>) continue;
        append(text.substr(piece, i - piece));
        if (i == text.size()) break;
        piece = i + 1;
        const BasicInlineCode<Unit>* code =
            next < segment.codes.size() ? &segment.codes[next] : nullptr;
        ++next;
        if (code && IsPlaceholderCode(*code)) {
            const int32_t begin = read.text.length();
            append(code->content);
            read.placeholders.push_back({begin, read.text.length(), Kind::Placeholder});
            continue;
        }
        if (code && code->kind != InlineCode::Kind::Standalone)
            read.paired.push_back(read.text.length());
        read.text.append(kMark);
    }
    return read;
}

// Placeholders written as text in s[a, b), found in the UTF-16 text itself: the finder
// counts its limits in characters, so its spans are those it finds in any other form.
void FindWrittenPlaceholders(const char16_t* s, int32_t a, int32_t b, std::vector<Span>& spans) {
    if (b <= a) return;
    const std::u16string_view range(s + a, static_cast<std::size_t>(b - a));
    for (const PlaceholderSpan& found : FindPlaceholders(range)) {
        const auto begin = a + static_cast<int32_t>(found.begin);
        spans.push_back({begin, begin + static_cast<int32_t>(found.length), Kind::Placeholder});
    }
}

// The tokens of s[a, b), which holds no URL and no placeholder. A paired code (a start or an
// end tag) with no space beside it splits no word ("<b>Buffer</b>s" is one); a standalone
// code separates the words around it.
template <CodeUnit Unit>
void BreakText(const char16_t* s, int32_t a, int32_t b, const std::vector<int32_t>& paired,
               std::vector<BasicToken<Unit>>& tokens) {
    auto isPaired = [&](int32_t at) {
        return std::binary_search(paired.begin(), paired.end(), at);
    };
    icu::UnicodeString joined;
    std::vector<int32_t> codes;  // in `joined`
    int32_t piece = a;
    auto flush = [&](int32_t end) {
        if (codes.empty()) {
            if (end > piece) BreakWords(s, piece, end, codes, tokens);
        } else {
            joined.append(s + piece, end - piece);
            BreakWords(std::as_const(joined).getBuffer(), 0, joined.length(), codes, tokens);
        }
        joined.remove();
        codes.clear();
    };
    for (int32_t i = a; i < b; ++i) {
        if (s[i] != kMark) continue;
        if (isPaired(i)) {
            joined.append(s + piece, i - piece);
            codes.push_back(joined.length());
            piece = i + 1;
            continue;
        }
        flush(i);
        tokens.push_back(CodeToken<Unit>());
        piece = i + 1;
    }
    flush(b);
}

template <CodeUnit Unit>
std::basic_string<Unit> Normalise(const char16_t* s, int32_t n) {
    std::basic_string<Unit> result;
    result.reserve(static_cast<std::size_t>(n));
    bool pendingSpace = false;
    // A text without surrogates, nearly every one, is one unit a character in every form.
    if (std::none_of(s, s + n, [](char16_t c) { return U16_IS_SURROGATE(c); })) {
        for (int32_t i = 0; i < n; ++i) {
            if (IsSpace(s[i])) {
                pendingSpace = !result.empty();
                continue;
            }
            if (pendingSpace) result += Unit{' '};
            pendingSpace = false;
            result += static_cast<Unit>(s[i]);
        }
        return result;
    }
    for (const DecodedCodePoint& c :
         CodePoints(std::u16string_view(s, static_cast<std::size_t>(n)))) {
        if (IsSpace(static_cast<UChar32>(c.value))) {
            pendingSpace = !result.empty();
            continue;
        }
        if (pendingSpace) result += Unit{' '};
        pendingSpace = false;
        AppendCodePoint(result, c.value);
    }
    return result;
}

}  // namespace

template <CodeUnit Unit>
BasicTokenizedSegment<Unit> Tokenize(const BasicSegment<Unit>& segment) {
    const ReadableText read = Read(segment);
    const char16_t* s = read.text.getBuffer();
    const int32_t n = read.text.length();

    BasicTokenizedSegment<Unit> result;
    result.normalised = Normalise<Unit>(s, n);
    result.tokens.reserve(static_cast<std::size_t>(n) / 4 + 1);  // about one token a word
    // Placeholder codes first, then URLs and e-mail addresses between them, then the
    // placeholders written as text in what is left: a "%20" inside a URL is none.
    std::vector<Span> spans;
    int32_t from = 0;
    for (const Span& placeholder : read.placeholders) {
        FindUrlsAndEmails(s, from, placeholder.begin, spans);
        from = placeholder.end;
    }
    FindUrlsAndEmails(s, from, n, spans);
    spans.insert(spans.end(), read.placeholders.begin(), read.placeholders.end());
    auto byStart = [](const Span& x, const Span& y) { return x.begin < y.begin; };
    std::sort(spans.begin(), spans.end(), byStart);
    const std::size_t found = spans.size();
    from = 0;
    for (std::size_t k = 0; k <= found; ++k) {
        const int32_t to = k < found ? spans[k].begin : n;
        FindWrittenPlaceholders(s, from, to, spans);
        if (k < found) from = spans[k].end;
    }
    std::sort(spans.begin(), spans.end(), byStart);

    int32_t pos = 0;
    for (const Span& span : spans) {
        BreakText(s, pos, span.begin, read.paired, result.tokens);
        result.tokens.push_back(MakeToken<Unit>(span.kind, s, span.begin, span.end));
        pos = span.end;
    }
    BreakText(s, pos, n, read.paired, result.tokens);
    return result;
}

template <CodeUnit Unit>
std::basic_string<Unit> NormalisedText(const BasicSegment<Unit>& segment) {
    const ReadableText read = Read(segment);
    return Normalise<Unit>(read.text.getBuffer(), read.text.length());
}

template <CodeUnit Unit>
std::vector<InlineCodeKind> FormattingCodeKinds(const BasicSegment<Unit>& segment) {
    std::vector<InlineCodeKind> kinds;
    std::size_t code = 0;
    for (Unit c : segment.text) {
        if (c != kCodeMarkIn<Unit>) continue;
        const std::size_t k = code++;
        if (k >= segment.codes.size()) {
            kinds.push_back(InlineCode::Kind::Standalone);
        } else if (!IsPlaceholderCode(segment.codes[k])) {
            kinds.push_back(segment.codes[k].kind);
        }
    }
    return kinds;
}

template TokenizedSegment Tokenize(const Segment&);
template BasicTokenizedSegment<char16_t> Tokenize(const BasicSegment<char16_t>&);
template std::wstring NormalisedText(const Segment&);
template std::u16string NormalisedText(const BasicSegment<char16_t>&);
template std::vector<InlineCodeKind> FormattingCodeKinds(const Segment&);
template std::vector<InlineCodeKind> FormattingCodeKinds(const BasicSegment<char16_t>&);

}  // namespace orv::engine
