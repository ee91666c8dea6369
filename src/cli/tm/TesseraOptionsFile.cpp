#include "cli/tm/TesseraOptionsFile.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "cli/Suggestion.h"
#include "cli/quote/RateGridFile.h"
#include "cli/tm/IniFileText.h"
#include "cli/tm/UsageError.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"

namespace orv::cli {
namespace {

enum class OptionType { Boolean, Number, Text };
using OptionValue = std::variant<bool, int32_t, std::wstring>;

template <typename T>
constexpr OptionType TypeOf() {
    if constexpr (std::is_same_v<T, bool>) return OptionType::Boolean;
    if constexpr (std::is_same_v<T, int32_t>) return OptionType::Number;
    if constexpr (std::is_same_v<T, std::wstring>) return OptionType::Text;
}

// One option of the set, as the file names it and as the set stores it.
struct OptionField {
    std::string group;     // "General"
    std::string property;  // "MinimumMatchValue"
    OptionType type;
    bool alwaysFalse;  // Tessera gets False whatever the field holds
    void (*put)(clsBATesseraSettings&, const OptionValue&);
    OptionValue (*get)(const clsBATesseraSettings&);

    std::string FullName() const { return "Options" + group + property; }
};

// Driven by the option set's own list, so that a field added there is in the file at once.
#define ORV_CLI_OPTION_FIELD(type, group, property, written)              \
    OptionField{#group,                                                   \
                #property,                                                \
                TypeOf<type>(),                                           \
                std::string_view(#written) == "AlwaysFalse",              \
                [](clsBATesseraSettings& s, const OptionValue& v) {       \
                    s.put_Options##group##property(std::get<type>(v));    \
                },                                                        \
                [](const clsBATesseraSettings& s) {                       \
                    return OptionValue(std::in_place_type<type>,          \
                                       s.get_Options##group##property()); \
                }},

const std::vector<OptionField>& Fields() {
    static const std::vector<OptionField> fields{ORV_TESSERA_SETTINGS(ORV_CLI_OPTION_FIELD)};
    return fields;
}

#undef ORV_CLI_OPTION_FIELD

// The groups in field order.
std::vector<std::string> Groups() {
    std::vector<std::string> groups;
    for (const OptionField& field : Fields()) {
        if (groups.empty() || groups.back() != field.group) groups.push_back(field.group);
    }
    return groups;
}

// What a note in the template says about a field beyond its type.
std::string NoteOn(const OptionField& field) {
    if (field.alwaysFalse) return "Tessera always gets false here, whatever is set.";
    const std::string name = field.FullName();
    if (name == "OptionsToolsHtmlSettingsFile")
        return "The analysis puts its own HTML settings file name here.";
    if (name == "OptionsToolsSgmlSettingsFile")
        return "The analysis puts its own SGML settings file name here.";
    return {};
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool SameName(std::string_view a, std::string_view b) {
    return Lower(a) == Lower(b);
}

struct Candidate {
    std::string compared;   // the name a typo is measured against
    std::string suggested;  // what to suggest when it is the closest
};

// The suggestion of the candidate closest to `name` without regard to letter case; none when
// even that one shares less than half its letters with `name`, as a far-fetched guess
// misleads more than it helps.
std::optional<std::string> Closest(const std::string& name,
                                   const std::vector<Candidate>& candidates) {
    std::optional<std::string> best;
    std::size_t bestDistance = std::numeric_limits<std::size_t>::max();
    for (const Candidate& candidate : candidates) {
        const std::size_t distance = EditDistance(name, candidate.compared);
        if (distance < bestDistance &&
            distance <= std::max(name.size(), candidate.compared.size()) / 2) {
            best = candidate.suggested;
            bestDistance = distance;
        }
    }
    return best;
}

std::wstring_view Trim(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The text of a key or section as the messages show it; a name with characters beyond ASCII
// can be no option's name anyway.
std::string Shown(std::wstring_view text) {
    return ToNarrow(std::wstring(text));
}

std::optional<bool> ParseBoolean(const std::string& text) {
    const std::string lower = Lower(text);
    if (lower == "true" || lower == "yes" || lower == "on" || lower == "1") return true;
    if (lower == "false" || lower == "no" || lower == "off" || lower == "0") return false;
    return std::nullopt;
}

std::optional<int32_t> ParseNumber(const std::string& text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    // from_chars would take a second sign ("--5", "0x-5").
    if (digits.empty() || digits.front() == '-' || digits.front() == '+') return std::nullopt;
    int64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

// A text value: the quotes around it, when it has them, only keep its spaces.
std::wstring ParseText(std::wstring_view text) {
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        text = text.substr(1, text.size() - 2);
    return std::wstring(text);
}

std::string ExpectedType(OptionType type) {
    switch (type) {
        case OptionType::Boolean:
            return "true or false (also yes/no, on/off, 1/0)";
        case OptionType::Number:
            return "a whole number from -2147483648 to 2147483647";
        case OptionType::Text:
            return "a text";
    }
    return {};
}

std::string TypeName(OptionType type) {
    switch (type) {
        case OptionType::Boolean:
            return "true or false";
        case OptionType::Number:
            return "a whole number";
        case OptionType::Text:
            return "a text";
    }
    return {};
}

std::string FormatValue(const OptionValue& value) {
    if (const bool* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
    if (const int32_t* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
    const std::wstring& text = std::get<std::wstring>(value);
    const bool needsQuotes =
        !text.empty() && (text != Trim(text) || (text.front() == L'"' && text.back() == L'"'));
    return needsQuotes ? "\"" + ToNarrow(text) + "\"" : ToNarrow(text);
}

class OptionsParser {
public:
    OptionsParser(const std::filesystem::path& file, clsBATesseraSettings& settings)
        : file_(NarrowPathText(file)), settings_(settings) {}

    void ParseLine(std::wstring_view line) {
        ++lineNumber_;
        line = Trim(line);
        if (line.empty() || line.front() == L';' || line.front() == L'#') return;
        if (line.front() == L'[') return EnterSection(line);
        if (inRateGrid_) return;  // the rate grid's reader checks those lines
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring_view::npos)
            Fail("expected NAME = VALUE or a [section], found \"" + Shown(line) + "\"");
        const std::wstring_view key = Trim(line.substr(0, equals));
        if (key.empty()) Fail("a line starts with \"=\": the option's name is missing");
        const OptionField& field = FieldFor(Shown(key));
        const std::wstring_view value = Trim(line.substr(equals + 1));
        field.put(settings_, ValueFor(field, value));
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw UsageError(file_ + ":" + std::to_string(lineNumber_) + ": " + what);
    }

    void EnterSection(std::wstring_view line) {
        if (line.back() != L']') Fail("a section name must end with \"]\"");
        const std::string name = Shown(Trim(line.substr(1, line.size() - 2)));
        // A client's rate grid may share the file with the options.
        inRateGrid_ = IsRateGridSection(name);
        if (inRateGrid_) return;
        std::string group = name;
        if (group.size() > 7 && SameName(group.substr(group.size() - 7), "Options"))
            group.resize(group.size() - 7);
        const std::vector<std::string> groups = Groups();
        const auto found = std::find_if(groups.begin(), groups.end(),
                                        [&](const std::string& g) { return SameName(g, group); });
        if (found == groups.end()) {
            std::vector<Candidate> candidates;
            std::string all;
            for (const std::string& g : groups) {
                candidates.push_back({g, g});
                all += (all.empty() ? "[" : ", [") + g + "]";
            }
            const auto meant = Closest(group, candidates);
            Fail("unknown section [" + name + "]; " +
                 (meant ? "did you mean [" + *meant + "]?" : "the sections are " + all));
        }
        section_ = *found;
    }

    // The field `key` names in the current section.
    const OptionField& FieldFor(const std::string& key) {
        const std::vector<OptionField>& fields = Fields();
        auto found = std::find_if(fields.begin(), fields.end(), [&](const OptionField& f) {
            return SameName(f.FullName(), key) ||
                   (!section_.empty() && f.group == section_ && SameName(f.property, key));
        });
        if (found == fields.end()) Fail(UnknownKey(key));
        if (!section_.empty() && found->group != section_) {
            Fail(found->FullName() + " belongs in section [" + found->group + "], not [" +
                 section_ + "]");
        }
        const std::size_t index = static_cast<std::size_t>(found - fields.begin());
        if (const auto earlier = seen_.find(index); earlier != seen_.end()) {
            Fail(found->FullName() + " is given a second time (first on line " +
                 std::to_string(earlier->second) + ")");
        }
        seen_.emplace(index, lineNumber_);
        return *found;
    }

    std::string UnknownKey(const std::string& key) const {
        if (SameName(key, "WasInitialised"))
            return "WasInitialised is no option: reading the file sets it";
        const std::string unknown = "unknown option \"" + key + "\"";
        // A short name outside its group's section: the full names are what was meant.
        std::vector<std::string> meant;
        for (const OptionField& field : Fields()) {
            if (SameName(field.property, key)) meant.push_back(field.FullName());
        }
        if (!meant.empty()) {
            std::string names = "\"" + meant.front() + "\"";
            for (std::size_t i = 1; i < meant.size(); ++i) names += " or \"" + meant[i] + "\"";
            return unknown + (section_.empty() ? " outside a section" : " in [" + section_ + "]") +
                   "; did you mean " + names + "?";
        }
        // A typo may be in the full name or in the part after the group; on a tie the
        // current section's options win, as they come first.
        std::vector<Candidate> candidates;
        for (const bool inSection : {true, false}) {
            for (const OptionField& field : Fields()) {
                if ((field.group == section_) != inSection) continue;
                candidates.push_back({field.FullName(), field.FullName()});
                candidates.push_back(
                    {field.property, inSection ? field.property : field.FullName()});
            }
        }
        if (const auto closest = Closest(key, candidates))
            return unknown + "; did you mean \"" + *closest + "\"?";
        return unknown + "; orvbatch options-template lists them all";
    }

    OptionValue ValueFor(const OptionField& field, std::wstring_view value) const {
        if (field.type == OptionType::Text) return ParseText(value);
        const std::string text = Shown(value);
        if (field.type == OptionType::Boolean) {
            if (auto flag = ParseBoolean(text)) return *flag;
        } else if (auto number = ParseNumber(text)) {
            return *number;
        }
        Fail("bad value \"" + text + "\" for " + field.FullName() + ": expected " +
             ExpectedType(field.type));
    }

    std::string file_;
    clsBATesseraSettings& settings_;
    int lineNumber_ = 0;
    std::string section_;              // the group; empty before any section
    bool inRateGrid_ = false;          // in a section of the rate grid, not of the options
    std::map<std::size_t, int> seen_;  // field index -> line that set it
};

}  // namespace

void ReadTesseraOptionsFile(const std::filesystem::path& file, clsBATesseraSettings& settings) {
    const std::vector<std::wstring> lines = ReadIniFileLines(file, "options file");
    // Parsed into a copy, so that a fault halfway leaves the caller's set as it was.
    clsBATesseraSettings parsed = settings;
    OptionsParser parser(file, parsed);
    for (const std::wstring& line : lines) parser.ParseLine(line);
    parsed.put_WasInitialised(true);
    settings = parsed;
}

std::string TesseraOptionsTemplate() {
    std::ostringstream out;
    out << "; Tessera options for an analysis. Change what you need and keep the rest: every\n"
           "; option here is written into Tessera before the analysis, including those left\n"
           "; as they are.\n"
           ";\n"
           "; NAME = VALUE in the option's group section; the full property name (such as\n"
           "; OptionsGeneralMinimumMatchValue) works too. Names ignore letter case.\n"
           "; Booleans: true/false, yes/no, on/off, 1/0. Numbers: whole, decimal or 0x hex.\n"
           "; Texts: the rest of the line; in double quotes to keep spaces at either end.\n"
           "; A line starting with ; or # is a comment.\n"
           "; A rate grid's [Rates] and [Shares] may stand here too (orvbatch rates-template).\n";
    const clsBATesseraSettings defaults;
    std::string group;
    for (const OptionField& field : Fields()) {
        if (field.group != group) {
            group = field.group;
            out << "\n[" << group << "]\n";
        }
        out << "; " << field.FullName() << ": " << TypeName(field.type) << ".";
        if (const std::string note = NoteOn(field); !note.empty()) out << " " << note;
        const std::string value = FormatValue(field.get(defaults));
        out << "\n" << field.property << " =" << (value.empty() ? "" : " " + value) << "\n";
    }
    return out.str();
}

}  // namespace orv::cli
