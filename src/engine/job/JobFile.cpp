#include "engine/job/JobFile.h"

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>

#include "engine/model/EngineError.h"
#include "engine/system/FileFailure.h"
#include "engine/system/WholeFile.h"
#include "platform/NarrowText.h"

namespace orv::engine {
namespace {

constexpr std::wstring_view kBlanks = L" \t";

std::wstring_view Trimmed(std::wstring_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Section names and keys are ASCII; their letter case does not matter, as in any INI file.
std::wstring Folded(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& c : folded) {
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return folded;
}

// Paths are written in double quotes; a blank path is written as a lone quote.
std::wstring Unquoted(std::wstring_view value) {
    if (value == L"\"") return {};
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::wstring(value);
}

// The number after `prefix` in `name` ("task12" gives 12), written as the component writes
// numbers: decimal, above 0, no leading zero, no sign.
std::optional<int64_t> NumberAfter(std::wstring_view prefix, const std::wstring& name) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.size() - prefix.size() > 10 || name[prefix.size()] == L'0') {
        return std::nullopt;
    }
    int64_t number = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9') return std::nullopt;
        number = number * 10 + (name[i] - L'0');
    }
    return number;
}

// The smallest number from 1 up that `numbered` lacks.
template <typename T>
int64_t FirstGap(const std::map<int64_t, T>& numbered) {
    int64_t expected = 1;
    for (const auto& entry : numbered) {
        if (entry.first != expected) break;
        ++expected;
    }
    return expected;
}

struct Section {
    std::wstring name;                                      // as written
    std::unordered_map<std::wstring, std::wstring> values;  // by folded key; the first wins
};

class JobFileParser {
public:
    explicit JobFileParser(const std::wstring& name) : name_(name) {}

    JobDescription Parse(const std::wstring& text);

private:
    [[noreturn]] void Fail(const std::wstring& what) const {
        RaiseEngineError(L"Cannot read job file " + name_ + L": " + what);
    }

    void Split(const std::wstring& text);
    const Section* Find(const std::wstring& foldedName) const;
    const std::wstring* Value(const Section& section, const std::wstring& foldedKey) const;
    const std::wstring& Required(const Section& section, const std::wstring& foldedKey,
                                 std::wstring_view key) const;
    int32_t Number(const Section& section, const std::wstring& value, std::wstring_view key) const;

    void ReadSettings(JobDescription& job) const;
    void ReadAnalyse(const Section& analyse, JobDescription& job) const;
    void ReadTask(const Section& task, JobDescription& job) const;
    void ReadDocuments(const Section& task, JobDescription& job) const;

    const std::wstring& name_;
    std::vector<Section> sections_;
    std::unordered_map<std::wstring, std::size_t> sectionByName_;  // by folded name
};

JobDescription JobFileParser::Parse(const std::wstring& text) {
    Split(text);
    JobDescription job;
    ReadSettings(job);

    const Section* analyse = Find(L"analyse");
    if (analyse == nullptr) Fail(L"the file has no [Analyse] section");
    if (Find(L"task1") == nullptr) Fail(L"the file has no [Task1] section");

    std::map<int64_t, const Section*> tasks;
    for (const Section& section : sections_) {
        if (auto number = NumberAfter(L"task", Folded(section.name))) tasks[*number] = &section;
    }
    // Without a Tasks line, the task sections themselves say how many there are.
    int64_t count = static_cast<int64_t>(tasks.size());
    if (const std::wstring* value = Value(*analyse, L"tasks")) {
        count = Number(*analyse, *value, L"Tasks");
    }
    if (count != static_cast<int64_t>(tasks.size())) {
        Fail(L"the Tasks line of [Analyse] says " + std::to_wstring(count) + L" but the file has " +
             std::to_wstring(tasks.size()) + L" task sections");
    }
    if (const int64_t missing = FirstGap(tasks); missing <= count) {
        Fail(L"the file has no [Task" + std::to_wstring(missing) + L"] section");
    }
    ReadAnalyse(*analyse, job);
    for (const auto& [number, task] : tasks) ReadTask(*task, job);
    return job;
}

void JobFileParser::Split(const std::wstring& text) {
    std::optional<std::size_t> current;
    std::size_t start = text.empty() || text.front() != L'\uFEFF' ? 0 : 1;
    while (start < text.size()) {
        auto end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);

        line = Trimmed(line);
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            const std::wstring name(Trimmed(line.substr(1, line.size() - 2)));
            // A section named twice is one section, as for any INI file.
            auto [found, added] = sectionByName_.emplace(Folded(name), sections_.size());
            if (added) sections_.push_back(Section{name, {}});
            current = found->second;
            continue;
        }
        const auto equals = line.find(L'=');
        if (!current || equals == std::wstring_view::npos) continue;
        sections_[*current].values.emplace(Folded(Trimmed(line.substr(0, equals))),
                                           std::wstring(Trimmed(line.substr(equals + 1))));
    }
}

const Section* JobFileParser::Find(const std::wstring& foldedName) const {
    const auto found = sectionByName_.find(foldedName);
    return found == sectionByName_.end() ? nullptr : &sections_[found->second];
}

const std::wstring* JobFileParser::Value(const Section& section,
                                         const std::wstring& foldedKey) const {
    const auto found = section.values.find(foldedKey);
    return found == section.values.end() ? nullptr : &found->second;
}

const std::wstring& JobFileParser::Required(const Section& section, const std::wstring& foldedKey,
                                            std::wstring_view key) const {
    const std::wstring* value = Value(section, foldedKey);
    if (value == nullptr) Fail(L"[" + section.name + L"] has no " + std::wstring(key) + L" line");
    return *value;
}

int32_t JobFileParser::Number(const Section& section, const std::wstring& value,
                              std::wstring_view key) const {
    std::size_t i = 0;
    bool negative = false;
    if (!value.empty() && (value[0] == L'-' || value[0] == L'+')) {
        negative = value[0] == L'-';
        i = 1;
    }
    int64_t magnitude = 0;
    bool valid = i < value.size();
    for (; valid && i < value.size(); ++i) {
        valid = value[i] >= L'0' && value[i] <= L'9';
        if (valid) magnitude = magnitude * 10 + (value[i] - L'0');
        valid = valid && magnitude <= int64_t{INT32_MAX} + 1;
    }
    if (!valid || (!negative && magnitude > INT32_MAX)) {
        Fail(L"the " + std::wstring(key) + L" line of [" + section.name + L"] holds \"" + value +
             L"\", which is not a 32-bit whole number");
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

void JobFileParser::ReadSettings(JobDescription& job) const {
    const Section* settings = Find(L"settings");
    if (settings == nullptr) return;
    if (const std::wstring* value = Value(*settings, L"sgmlsettingsfile")) {
        job.sgmlSettingsFile = Unquoted(*value);
    }
    if (const std::wstring* value = Value(*settings, L"htmlsettingsfile")) {
        job.htmlSettingsFile = Unquoted(*value);
    }
}

void JobFileParser::ReadAnalyse(const Section& analyse, JobDescription& job) const {
    if (const std::wstring* value = Value(analyse, L"usetmfrompreviousanalysis")) {
        job.useTMFromPreviousAnalysis = Number(analyse, *value, L"UseTMFromPreviousAnalysis") != 0;
    }
    if (const std::wstring* value = Value(analyse, L"logfile")) job.logFile = Unquoted(*value);
}

void JobFileParser::ReadTask(const Section& task, JobDescription& job) const {
    const std::wstring kind = Folded(Required(task, L"task", L"Task"));
    if (kind == L"analyse") {
        ReadDocuments(task, job);
    } else if (kind == L"exportunknown") {
        ExportUnknownTask exportUnknown;
        exportUnknown.maxMatch =
            Number(task, Required(task, L"maxmatch", L"MaxMatch"), L"MaxMatch");
        exportUnknown.file = Unquoted(Required(task, L"file", L"File"));
        exportUnknown.fileType =
            Number(task, Required(task, L"filetype", L"FileType"), L"FileType");
        job.exportUnknown = std::move(exportUnknown);
    } else if (kind == L"exportfrequent") {
        ExportFrequentTask exportFrequent;
        exportFrequent.occurrences =
            Number(task, Required(task, L"occurrences", L"Occurrences"), L"Occurrences");
        exportFrequent.file = Unquoted(Required(task, L"file", L"File"));
        exportFrequent.fileType =
            Number(task, Required(task, L"filetype", L"FileType"), L"FileType");
        job.exportFrequent = std::move(exportFrequent);
    } else if (kind == L"createprojecttm") {
        job.projectTM = ProjectTMTask{Unquoted(Required(task, L"file", L"File"))};
    } else {
        Fail(L"[" + task.name + L"] names the unknown task \"" + *Value(task, L"task") + L"\"");
    }
}

void JobFileParser::ReadDocuments(const Section& task, JobDescription& job) const {
    const int32_t count = Number(task, Required(task, L"files", L"Files"), L"Files");
    // The numbered lines, in number order, whatever order the file has them in.
    std::map<int64_t, const std::wstring*> files;
    for (const auto& [key, value] : task.values) {
        if (auto number = NumberAfter(L"file", key)) files[*number] = &value;
    }
    if (static_cast<int64_t>(files.size()) != count) {
        Fail(L"the Files line of [" + task.name + L"] says " + std::to_wstring(count) +
             L" but the task has " + std::to_wstring(files.size()) + L" numbered File lines");
    }
    if (const int64_t missing = FirstGap(files); missing <= count) {
        Fail(L"[" + task.name + L"] has no File" + std::to_wstring(missing) + L" line");
    }
    job.documents.reserve(job.documents.size() + files.size());
    for (const auto& [number, value] : files) job.documents.push_back(Unquoted(*value));
}

}  // namespace

JobDescription ParseJobFile(std::string_view bytes, const std::wstring& name) {
    // The component writes it in the narrow encoding; an editor may have saved it as UTF-8.
    return JobFileParser(name).Parse(FromTextFileBytes(bytes));
}

JobDescription ReadJobFile(const std::wstring& path) {
    // Far beyond any job file; a larger one is no job file.
    constexpr std::uint64_t kLargestJobFile = std::uint64_t{64} << 20;
    try {
        return ParseJobFile(ReadWholeFile(path, kLargestJobFile), path);
    } catch (const FileFailure& failure) {
        RaiseEngineError(L"Cannot read job file " + path + L": " +
                         FileProblemText(failure.problem()));
    }
}

}  // namespace orv::engine
