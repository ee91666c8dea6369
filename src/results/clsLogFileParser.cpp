#include "results/clsLogFileParser.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "front/modErrors.h"
#include "jobfile/modTools.h"
#include "platform/NarrowText.h"
#include "platform/TextCase.h"
#include "results/CsvLogFileName.h"
#include "results/NumberConversion.h"

namespace orv {

namespace {

constexpr const wchar_t* kLineBreak = L"\r\n";

// What a lookup gives for a column the log lacks. A field that really holds "-1" reads the
// same.
const std::wstring kMissingValue = L"-1";

const std::wstring kFileKey = L"file";
const std::wstring kTaggingErrorsKey = L"tagging errors";
const std::wstring kCharsPerWordKey = L"chars/word";

// The match bands as the log labels them, in the order the log lists them.
struct BandLabel {
    const wchar_t* label;
    Band band;
};
constexpr BandLabel kBandLabels[] = {
    {L"repetitions", Band::Repetitions}, {L"100% matches", Band::Matches100},
    {L"95% - 99%", Band::Matches95},     {L"85% - 94%", Band::Matches85},
    {L"75% - 84%", Band::Matches75},     {L"50% - 74%", Band::Matches50},
    {L"no match", Band::NoMatches},      {L"relayed", Band::Relay},
};
static_assert(std::size(kBandLabels) == kBandCount);

// The column names under a band label. Characters exist per band in the log, but the record
// keeps them only as the total (and as the words of a band that gives no words).
enum Column : std::size_t { kSegments, kWords, kCharacters, kPlaceables, kPercent, kColumnCount };
constexpr const wchar_t* kColumnNames[kColumnCount] = {L"segments", L"words", L"characters",
                                                       L"placeables", L"percent"};
constexpr const wchar_t* kTotalLabel = L"total";

constexpr Column ColumnOf(Measure measure) {
    constexpr Column columns[] = {kSegments, kWords, kPlaceables, kPercent};
    return columns[static_cast<std::size_t>(measure)];
}

// Every band and total key, built once: "repetitionssegments", ..., "totalcharacters".
struct ColumnKeys {
    std::wstring band[kBandCount][kColumnCount];
    std::wstring total[kColumnCount];
};

const ColumnKeys& Keys() {
    static const ColumnKeys keys = [] {
        ColumnKeys built;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            for (std::size_t b = 0; b < kBandCount; ++b) {
                built.band[b][c] = std::wstring(kBandLabels[b].label) + kColumnNames[c];
            }
            built.total[c] = std::wstring(kTotalLabel) + kColumnNames[c];
        }
        return built;
    }();
    return keys;
}

// Only the space character; tabs belong to the text.
std::wstring TrimSpaces(std::wstring_view text) {
    auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

// The fields between the semicolons; an empty line has none at all.
std::vector<std::wstring> SplitFields(const std::wstring& line) {
    std::vector<std::wstring> fields;
    if (line.empty()) return fields;
    std::size_t start = 0;
    for (;;) {
        auto semicolon = line.find(L';', start);
        fields.push_back(line.substr(start, semicolon - start));
        if (semicolon == std::wstring::npos) return fields;
        start = semicolon + 1;
    }
}

std::wstring KeyPart(const std::wstring& field) {
    return TrimSpaces(FoldCase(field));
}

}  // namespace

clsLogFileParser::clsLogFileParser(std::shared_ptr<Platform> platform,
                                   std::shared_ptr<FileSystem> fileSystem)
    : platform_(std::move(platform)), fileSystem_(std::move(fileSystem)) {}

Platform& clsLogFileParser::platform() {
    if (!platform_) platform_ = DefaultPlatform();
    return *platform_;
}

FileSystem& clsLogFileParser::fileSystem() {
    if (!fileSystem_) fileSystem_ = DefaultFileSystem();
    return *fileSystem_;
}

void clsLogFileParser::put_LogFileName(const std::wstring& vData) {
    logFileName_ = vData;
    csvLogFileName_ = CsvLogFileNameFor(vData);
}

std::wstring clsLogFileParser::GetLogFileContent() const {
    return L"not implemented";
}

void clsLogFileParser::ParseLogFile(Files& objBAFileInfoCollection) {
    if (csvLogFileName_.empty() || !fileSystem().FileExists(csvLogFileName_)) {
        modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToFindLogFile);
    }
    ParseLogLines(ReadLogLines(csvLogFileName_), objBAFileInfoCollection);
}

std::vector<std::wstring> clsLogFileParser::ReadLogLines(const std::wstring& strFileName) {
    return SplitLogLines(fileSystem().ReadFile(strFileName));
}

std::vector<std::wstring> clsLogFileParser::SplitLogLines(const std::string& bytes) {
    const std::wstring text = FromNarrow(bytes);
    std::vector<std::wstring> lines;
    for (std::size_t start = 0; start < text.size();) {
        auto feed = text.find(L'\n', start);
        auto end = feed == std::wstring::npos ? text.size() : feed;
        if (feed != std::wstring::npos && end > start && text[end - 1] == L'\r') --end;
        lines.push_back(TrimSpaces(std::wstring_view(text).substr(start, end - start)));
        if (feed == std::wstring::npos) break;
        start = feed + 1;
    }
    return lines;
}

void clsLogFileParser::ParseLogLines(const std::vector<std::wstring>& lines, Files& collection) {
    if (lines.size() < 3 || lines[0].empty()) return;
    const ColumnIndex columnIndex = GetColumnIndex(lines[0], lines[1]);

    // A row goes to the first record, in collection order, whose path equals the row's file
    // value exactly; only when none does, to the first whose path equals it without regard
    // to case. Two documents that a case-sensitive file system tells apart thus keep their
    // own figures, and a log that changed a path's case still finds its record. The indexes
    // find the record without walking the collection for every row.
    std::unordered_map<std::wstring, clsBAFileInfo*> recordByPath;
    std::unordered_map<std::wstring, clsBAFileInfo*> recordByFoldedPath;
    recordByPath.reserve(static_cast<std::size_t>(collection.Count()));
    recordByFoldedPath.reserve(static_cast<std::size_t>(collection.Count()));
    for (const auto& record : collection) {
        recordByPath.emplace(record->get_FilePath(), record.get());
        recordByFoldedPath.emplace(FoldCase(record->get_FilePath()), record.get());
    }

    for (std::size_t n = 2; n < lines.size(); ++n) {
        const RowValues rowValues = modTools::ArrayToCollection(SplitFields(lines[n]));
        // A blank line or a summary row ends the documents.
        if (GetColumnValue(rowValues, columnIndex, kTaggingErrorsKey) == kMissingValue &&
            GetColumnValue(rowValues, columnIndex, kCharsPerWordKey) == kMissingValue) {
            return;
        }
        const std::wstring& path = GetColumnValue(rowValues, columnIndex, kFileKey);
        auto found = recordByPath.find(path);
        if (found == recordByPath.end()) {
            found = recordByFoldedPath.find(FoldCase(path));
            if (found == recordByFoldedPath.end()) return;
        }

        FillFileInfo(columnIndex, rowValues, *found->second);
        if (!csvWithoutHeader_.empty()) csvWithoutHeader_ += kLineBreak;
        csvWithoutHeader_ += lines[n];
    }
    csvLogFileContent_ = lines[0] + kLineBreak + lines[1] + kLineBreak + csvWithoutHeader_;
}

clsLogFileParser::ColumnIndex clsLogFileParser::GetColumnIndex(const std::wstring& line1,
                                                               const std::wstring& line2) {
    const auto labels = SplitFields(line1);
    const auto names = SplitFields(line2);
    std::vector<std::wstring> keys(std::max(labels.size(), names.size()));

    // Columns 0 to 2 form the first group, then every four columns form one, each under the
    // label in line 1 at its first column.
    for (std::size_t group = 0; group < keys.size(); group += group == 0 ? 3 : 4) {
        const std::wstring label = group < labels.size() ? KeyPart(labels[group]) : L"";
        const std::size_t groupEnd = std::min(group + (group == 0 ? 3 : 4), names.size());
        for (std::size_t k = group; k < groupEnd; ++k) keys[k] = label + KeyPart(names[k]);
    }

    ColumnIndex index;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        // The first column with a key wins; an empty key is never looked up.
        if (!keys[k].empty()) index.emplace(keys[k], k + 1);
    }
    return index;
}

const std::wstring& clsLogFileParser::GetColumnValue(const RowValues& rowValues,
                                                     const ColumnIndex& columnIndex,
                                                     const std::wstring& key) {
    auto found = columnIndex.find(key);
    if (found == columnIndex.end() || rowValues.size() < found->second) return kMissingValue;
    return rowValues[found->second - 1];
}

int32_t clsLogFileParser::CountValue(const ColumnIndex& columnIndex, const RowValues& rowValues,
                                     const std::wstring& key) {
    const std::wstring& value = GetColumnValue(rowValues, columnIndex, key);
    return value == kMissingValue ? -1 : CountFromText(platform(), value);
}

void clsLogFileParser::FillFileInfo(const ColumnIndex& columnIndex, const RowValues& rowValues,
                                    clsBAFileInfo& fileInfo) {
    fileInfo.put_FileProcessed(true);
    const std::wstring& taggingErrors = GetColumnValue(rowValues, columnIndex, kTaggingErrorsKey);
    const std::wstring& charsPerWord = GetColumnValue(rowValues, columnIndex, kCharsPerWordKey);
    const bool taggingErrorsNumeric = platform().ParseNumber(taggingErrors).has_value();
    if (!taggingErrorsNumeric && !platform().ParseNumber(charsPerWord)) {
        // The record clears its own statistics and processed flag.
        fileInfo.put_ProcessingError(true);
        return;
    }

    // A negative count (the missing -1 too) and text are no tagging errors.
    fileInfo.put_TaggingErrors(0);
    if (taggingErrorsNumeric) {
        double value = LeadingNumberValue(taggingErrors);
        if (value >= 0.0) fileInfo.put_TaggingErrors(RoundToLong(value));
    }
    fileInfo.put_CharsPerWord(charsPerWord == kMissingValue
                                  ? -1.0
                                  : DoubleFromText(platform(), LocalizeDecimalPoint(charsPerWord)));

    SetSegmentsFields(columnIndex, rowValues, fileInfo);
    SetWordsFields(columnIndex, rowValues, fileInfo);
    SetPlaceablesFields(columnIndex, rowValues, fileInfo);
    SetPercentFields(columnIndex, rowValues, fileInfo);
}

void clsLogFileParser::SetBandFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                                     clsBAFileInfo& fileInfo, Measure measure) {
    for (std::size_t b = 0; b < kBandCount; ++b) {
        fileInfo.Set(BandField(kBandLabels[b].band, measure),
                     CountValue(columnIndex, rowValues, Keys().band[b][ColumnOf(measure)]));
    }
}

void clsLogFileParser::SetSegmentsFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                                         clsBAFileInfo& fileInfo) {
    SetBandFields(columnIndex, rowValues, fileInfo, Measure::Segments);
    fileInfo.put_SegmentsTotal(CountValue(columnIndex, rowValues, Keys().total[kSegments]));
}

void clsLogFileParser::SetWordsFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                                      clsBAFileInfo& fileInfo) {
    for (std::size_t b = 0; b < kBandCount; ++b) {
        // A band that counts characters instead of words gives those.
        const CountField field = BandField(kBandLabels[b].band, Measure::Words);
        fileInfo.Set(field, CountValue(columnIndex, rowValues, Keys().band[b][kWords]));
        if (fileInfo.Get(field) == -1) {
            fileInfo.Set(field, CountValue(columnIndex, rowValues, Keys().band[b][kCharacters]));
        }
    }
    fileInfo.put_WordsTotal(CountValue(columnIndex, rowValues, Keys().total[kWords]));
    fileInfo.put_CharactersTotal(CountValue(columnIndex, rowValues, Keys().total[kCharacters]));
}

void clsLogFileParser::SetPlaceablesFields(const ColumnIndex& columnIndex,
                                           const RowValues& rowValues, clsBAFileInfo& fileInfo) {
    SetBandFields(columnIndex, rowValues, fileInfo, Measure::Placeables);
    fileInfo.put_PlaceablesTotal(CountValue(columnIndex, rowValues, Keys().total[kPlaceables]));
}

void clsLogFileParser::SetPercentFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                                        clsBAFileInfo& fileInfo) {
    SetBandFields(columnIndex, rowValues, fileInfo, Measure::Percent);
}

std::wstring clsLogFileParser::LocalizeDecimalPoint(const std::wstring& value) {
    if (decimalSeparator_.empty()) {
        decimalSeparator_.assign(1, DecimalSeparatorOf(platform().FormatNineTenths()));
    }
    std::wstring localized;
    localized.reserve(value.size());
    for (wchar_t c : value) {
        if (c == L'.') {
            localized += decimalSeparator_;
        } else {
            localized += c;
        }
    }
    return localized;
}

}  // namespace orv
