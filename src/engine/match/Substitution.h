#pragma once
// Dates, times, measurements and numbers that a translator replaces without thinking
// (SubstitutionLocalisation options): with substitution on, each one in a source text is
// made one mark of its kind before the text is tokenised, so that a TM unit that differs
// from a segment only in such values, of the same kinds in the same order, scores as if
// they were equal: no token distance, no placeable penalty.
//
// Dates and times are recognised by ICU date-format patterns ("dd.MM.yyyy", "d MMMM
// yyyy", "HH:mm"; the letters d, M, y, H, h, m, s, a; quoted text and other characters
// are literal). A number is digits, optionally grouped in threes by the group separator,
// optionally followed by the decimal separator and digits. A measurement is a number
// followed, with or without a space, by one of kMeasurementUnits. Recognition goes dates,
// times, measurements, numbers, so that a date's digits are not taken for numbers.

#include <memory>
#include <string>

#include "engine/model/Segment.h"

namespace orv::engine {

inline constexpr const wchar_t* kMeasurementUnits[] = {
    L"mm", L"cm", L"dm", L"m",  L"km", L"mg", L"g",  L"kg",  L"t",  L"ml", L"cl", L"dl",
    L"l",  L"in", L"ft", L"yd", L"mi", L"oz", L"lb", L"gal", L"°C", L"°F", L"%"};

struct SubstitutionOptions {
    bool dates = false;
    bool times = false;
    bool numbers = false;
    bool measurements = false;
    std::wstring shortDatePattern;  // empty: no short dates
    std::wstring longDatePattern;   // empty: no long dates
    std::wstring timePattern;       // empty: no times
    std::wstring decimalSeparator;  // empty: "."
    std::wstring groupSeparator;    // empty: ","

    bool Any() const { return dates || times || numbers || measurements; }
    friend bool operator==(const SubstitutionOptions&, const SubstitutionOptions&) = default;
};

// Whether `token` is the mark of a substituted value: a placeable, so that units holding
// more or fewer values than the segment still take the placeable penalty.
bool IsSubstitutionMark(const std::wstring& token);

class Substitution {
public:
    // Throws an engine error when a pattern cannot be used.
    explicit Substitution(const SubstitutionOptions& options);
    ~Substitution();

    const SubstitutionOptions& options() const { return options_; }

    // `segment` with every recognised value replaced by its kind's mark. Codes are kept;
    // a value never spans a code. May be called from several threads at once.
    Segment Apply(const Segment& segment) const;

private:
    struct Patterns;
    SubstitutionOptions options_;
    std::unique_ptr<Patterns> patterns_;
};

}  // namespace orv::engine
