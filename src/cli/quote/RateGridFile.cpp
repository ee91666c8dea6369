#include "cli/quote/RateGridFile.h"

#include <algorithm>
#include <map>
#include <vector>

#include "cli/Suggestion.h"
#include "cli/tm/IniFileText.h"
#include "cli/tm/UsageError.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"

namespace orv::cli {
namespace {

constexpr std::size_t kLongestCurrency = 16;
constexpr int kShareFractionDigits = 4;  // of a percent: a fraction then has 6

enum class Section { None, Rates, Shares, Other };

const std::vector<std::string>& RateKeys() {
    static const std::vector<std::string> keys = {"price", "currency", "rounding",
                                                  "minimum-per-document", "minimum-per-job"};
    return keys;
}

const std::vector<std::string>& BandKeys() {
    static const std::vector<std::string> keys(kBandKeys.begin(), kBandKeys.end());
    return keys;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::wstring_view Trim(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Listed(const std::vector<std::string>& names) {
    std::string all;
    for (const auto& name : names) all += (all.empty() ? "" : ", ") + name;
    return all;
}

class GridParser {
public:
    GridParser(const std::filesystem::path& file, bool sharedWithOptions)
        : file_(NarrowPathText(file)), sharedWithOptions_(sharedWithOptions) {
        grid_.file = file_;
    }

    void ParseLine(std::wstring_view line) {
        ++lineNumber_;
        line = Trim(line);
        if (line.empty() || line.front() == L';' || line.front() == L'#') return;
        if (line.front() == L'[') return EnterSection(line);
        // The options' own lines are the options reader's to judge.
        if (section_ == Section::Other || (section_ == Section::None && sharedWithOptions_)) return;
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos)
            FailAtLine("expected KEY = VALUE or a [section], found \"" +
                       ToNarrow(std::wstring(line)) + "\"");
        key_ = Lower(ToNarrow(std::wstring(Trim(line.substr(0, equals)))));
        const std::string value = ToNarrow(std::wstring(Trim(line.substr(equals + 1))));
        if (key_.empty()) FailAtLine("a line starts with \"=\": the key is missing");
        if (section_ == Section::None)
            FailAtKey("outside a section; it belongs under " +
                      std::string(IsBand(key_) ? "[Shares]" : "[Rates]"));
        Remember(section_ == Section::Rates ? "rates" : "shares");
        if (value.empty()) FailAtKey("has no value");
        if (section_ == Section::Rates)
            SetRate(value);
        else
            SetShare(value);
    }

    bool SawGrid() const { return sawRates_ || sawShares_; }

    // The grid once every line is read; throws for what is missing.
    RateGrid Finish() const {
        const std::pair<const char*, const char*> required[] = {
            {"price", "the price of one new word"}, {"currency", "the currency of the price"}};
        for (const auto& [key, what] : required) {
            if (!seen_.count("rates/" + std::string(key)))
                Fail(file_ + ": " + key + ": missing; [Rates] needs " + what);
        }
        std::vector<std::string> bands;
        for (const auto& band : BandKeys()) {
            if (!seen_.count("shares/" + band)) bands.push_back(band);
        }
        if (!bands.empty())
            Fail(file_ + ": [Shares] gives no share for " + Listed(bands) +
                 "; every band needs one (100 for the full price)");
        return grid_;
    }

private:
    [[noreturn]] static void Fail(const std::string& message) { throw UsageError(message); }

    [[noreturn]] void FailAtLine(const std::string& what) const {
        Fail(file_ + ":" + std::to_string(lineNumber_) + ": " + what);
    }

    [[noreturn]] void FailAtKey(const std::string& what) const { FailAtLine(key_ + ": " + what); }

    static bool IsBand(const std::string& key) {
        return std::find(kBandKeys.begin(), kBandKeys.end(), key) != kBandKeys.end();
    }

    void EnterSection(std::wstring_view line) {
        if (line.back() != L']') FailAtLine("a section name must end with \"]\"");
        const std::string name = ToNarrow(std::wstring(Trim(line.substr(1, line.size() - 2))));
        const std::string lower = Lower(name);
        if (lower == "rates") {
            section_ = Section::Rates;
            sawRates_ = true;
        } else if (lower == "shares") {
            section_ = Section::Shares;
            sawShares_ = true;
        } else if (sharedWithOptions_) {
            section_ = Section::Other;
        } else {
            const auto meant = ClosestName(name, {"Rates", "Shares"});
            FailAtLine("unknown section [" + name + "]; " +
                       (meant ? "did you mean [" + *meant + "]?"
                              : "a rate grid has [Rates] and [Shares] (analysis options go "
                                "in the --options file)"));
        }
    }

    // Refuses a key met before in the same section.
    void Remember(const std::string& section) {
        const auto [at, added] = seen_.emplace(section + "/" + key_, lineNumber_);
        if (!added)
            FailAtKey("is given a second time (first on line " + std::to_string(at->second) + ")");
    }

    [[noreturn]] void UnknownKey(const std::vector<std::string>& keys, const std::string& what,
                                 const std::string& otherSection, bool inOther) const {
        if (inOther) FailAtKey("belongs in [" + otherSection + "], not here");
        const auto meant = ClosestName(key_, keys);
        FailAtKey("unknown " + what + "; " +
                  (meant ? "did you mean \"" + *meant + "\"?" : "they are " + Listed(keys)));
    }

    Decimal Amount(const std::string& value, const std::string& what) const {
        if (value.front() == '-' && Decimal::Parse(value.substr(1)))
            FailAtKey("\"" + value + "\" is negative; " + what + " is 0 or more");
        const auto amount = Decimal::Parse(value);
        if (!amount)
            FailAtKey("\"" + value + "\" is no amount; write digits with a point for decimals " +
                      "(0.085), at most 6 decimals, no sign or thousands separator");
        return *amount;
    }

    void SetRate(const std::string& value) {
        if (key_ == "price") {
            grid_.pricePerWord = Amount(value, "a price");
        } else if (key_ == "currency") {
            const std::wstring wide = FromNarrow(value);
            const bool printable = std::all_of(wide.begin(), wide.end(), [](wchar_t c) {
                return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F);
            });
            if (wide.size() > kLongestCurrency || !printable)
                FailAtKey("\"" + value + "\" is no currency: at most " +
                          std::to_string(kLongestCurrency) + " printable characters, such as EUR");
            grid_.currency = value;
        } else if (key_ == "rounding") {
            const std::string lower = Lower(value);
            if (lower == "document")
                grid_.rounding = Rounding::PerDocument;
            else if (lower == "total")
                grid_.rounding = Rounding::OnTotal;
            else
                FailAtKey("\"" + value + "\" is neither document (each document's cost to the " +
                          "cent) nor total (only the total to the cent)");
        } else if (key_ == "minimum-per-document") {
            grid_.minimumPerDocument = Amount(value, "a minimum");
        } else if (key_ == "minimum-per-job") {
            grid_.minimumPerJob = Amount(value, "a minimum");
        } else {
            UnknownKey(RateKeys(), "key in [Rates]", "Shares", IsBand(key_));
        }
    }

    void SetShare(const std::string& value) {
        const auto band = std::find(kBandKeys.begin(), kBandKeys.end(), key_);
        if (band == kBandKeys.end()) {
            const bool rate =
                std::find(RateKeys().begin(), RateKeys().end(), key_) != RateKeys().end();
            UnknownKey(BandKeys(), "band", "Rates", rate);
        }
        std::string number = value;
        if (number.back() == '%') {
            number.pop_back();
            number = ToNarrow(std::wstring(Trim(FromNarrow(number))));
        }
        const std::string range = "a share is a percent from 0 to 100, such as 30 or 30%";
        if (!number.empty() && number.front() == '-' && Decimal::Parse(number.substr(1)))
            FailAtKey("\"" + value + "\" is negative; " + range);
        const auto percent = Decimal::Parse(number, kShareFractionDigits);
        if (!percent) {
            if (Decimal::Parse(number))
                FailAtKey("\"" + value + "\" has more than 4 decimals; " + range);
            FailAtKey("\"" + value + "\" is no percent; " + range);
        }
        if (*percent > Decimal::FromWhole(100))
            FailAtKey("\"" + value + "\" is over 100%; " + range);
        // A percent with four decimals is a fraction with six: the division is exact.
        grid_.shares[static_cast<std::size_t>(band - kBandKeys.begin())] =
            Decimal::FromUnits(percent->units() / 100);
    }

    std::string file_;
    bool sharedWithOptions_;
    RateGrid grid_;
    int lineNumber_ = 0;
    Section section_ = Section::None;
    std::string key_;  // of the line being read, in lower case
    bool sawRates_ = false;
    bool sawShares_ = false;
    std::map<std::string, int> seen_;  // "section/key" -> the line that gave it
};

}  // namespace

bool IsRateGridSection(std::string_view name) {
    const std::string lower = Lower(name);
    return lower == "rates" || lower == "shares";
}

RateGrid ReadRateGridFile(const std::filesystem::path& file) {
    GridParser parser(file, false);
    for (const auto& line : ReadIniFileLines(file, "rate grid")) parser.ParseLine(line);
    return parser.Finish();
}

std::optional<RateGrid> ReadRateGridOfOptionsFile(const std::filesystem::path& file) {
    GridParser parser(file, true);
    for (const auto& line : ReadIniFileLines(file, "options file")) parser.ParseLine(line);
    if (!parser.SawGrid()) return std::nullopt;
    return parser.Finish();
}

std::string RateGridTemplate() {
    return R"(; A rate grid for orvbatch analyse --rates FILE: what the buyer pays for the words
; of each match band. The figures below are an EXAMPLE to edit, not a standard and not a
; recommendation: every client and every contract has its own.
;
; Numbers: digits with a point for decimals (0.085); no sign, no thousands separator.
; Key and section names ignore letter case. A line starting with ; or # is a comment.
; The two sections may also stand in an options file (--options FILE), to keep one file
; per client; a --rates file given as well is the one used.

[Rates]
; The price of one new word (up to 6 decimals) and the currency it is in (printed as is).
price = 0.12
currency = EUR
; document: each document's cost is rounded to the cent; the total is their sum.
; total: the exact costs are summed and only the total is rounded to the cent.
rounding = document
; The least a document costs, and the least the whole job costs; 0 for none.
minimum-per-document = 0
minimum-per-job = 0

[Shares]
; The percent of the price paid for one word of each band: 0 to 100, as 30 or 30%.
; Example shares only.
repetitions = 30%
100 = 30%
95-99 = 60%
85-94 = 80%
75-84 = 100%
50-74 = 100%
relayed = 100%
no-match = 100%
)";
}

}  // namespace orv::cli
