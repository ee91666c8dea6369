#include "cli/AnalyseCommand.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "cli/DocumentList.h"
#include "cli/ErrorReport.h"
#include "cli/InterruptCancelsBatch.h"
#include "cli/LogInUseLock.h"
#include "cli/OutputFolders.h"
#include "cli/OutputsOverInputs.h"
#include "cli/SystemQuestions.h"
#include "cli/TemporaryLogFolder.h"
#include "cli/quote/BatchQuote.h"
#include "cli/quote/QuoteCsv.h"
#include "cli/quote/RateGridFile.h"
#include "cli/report/BatchSummary.h"
#include "cli/report/HtmlReport.h"
#include "cli/report/JsonResult.h"
#include "cli/report/ResultTable.h"
#include "cli/terminal/PasswordInput.h"
#include "cli/terminal/ProgressPrinter.h"
#include "cli/tm/LanguageArgument.h"
#include "cli/tm/TesseraOptionsFile.h"
#include "cli/tm/UsageError.h"
#include "engine/app/EngineControl.h"
#include "engine/app/EngineExtras.h"
#include "engine/app/EngineObjectServices.h"
#include "engine/seg/SrxRules.h"
#include "engine/system/AtomicFileWriter.h"
#include "engine/system/CacheFolder.h"
#include "engine/system/FileFailure.h"
#include "front/BatchAnalyse.h"
#include "front/OrvBatchAnalyseErrors.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"
#include "platform/PathSyntax.h"

namespace fs = std::filesystem;

namespace orv::cli {
namespace {

// Every path the component gets is absolute: its folder test refuses a bare file name, and
// the engine runs with the same current folder anyway.
std::wstring AbsolutePath(const std::string& typed) {
    if (typed.empty()) return {};
    return FromNarrow(NarrowPathText(fs::absolute(typed).lexically_normal()));
}

// Where the engine keeps match indexes between runs; empty for none. An empty TM made for
// one run is a new file each time: nothing of it would ever be read again.
std::wstring IndexCacheFolder(const AnalyseOptions& options) {
    if (options.noIndexCache || options.emptyTm) return {};
    if (!options.indexCache.empty()) return AbsolutePath(options.indexCache);
    return engine::UserCacheFolder(L"orvbatch").value_or(L"");
}

// The folder an output goes to, made when missing: `--log out/analysis.log` should just work.
std::wstring OutputPath(const std::string& typed, OutputFolders& folders) {
    if (typed.empty()) return {};
    const fs::path path = fs::absolute(typed).lexically_normal();
    const fs::path folder = path.parent_path();
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        try {
            folders.Make(folder);
        } catch (const std::system_error& failure) {
            throw UsageError("cannot make the folder \"" + NarrowPathText(folder) + "\" for \"" +
                             typed + "\": " + failure.code().message());
        }
    }
    return FromNarrow(NarrowPathText(path));
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TsExportFileType ExportType(const std::string& typedType, const char* option) {
    const std::string typed = Lowered(typedType);
    if (typed == "tmx") return TsExportFileTypeTMX;
    if (typed == "text" || typed == "txt") return TsExportFileTypeTes2x;
    if (typed.size() == 1 && typed[0] >= '1' && typed[0] <= '7')
        return static_cast<TsExportFileType>(typed[0] - '0');
    throw UsageError(std::string(option) + ": \"" + typed +
                     "\" is not tmx, text or a file type number from 1 to 7");
}

// A report or quote that cannot be written is found out (and its folder made) before the
// analysis runs, so that a slip in its name does not cost the user a whole batch; the file
// itself is written only with results, so a failed analysis leaves an earlier one as it was.
void CheckOutputFile(const std::string& path, const std::string& role, OutputFolders& folders) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    if (error || !absolute.has_filename())
        throw UsageError(role + " \"" + path + "\" names no file");
    if (fs::is_directory(absolute, error)) throw UsageError(role + " \"" + path + "\" is a folder");
    OutputPath(path, folders);
    const fs::path folder = absolute.parent_path();
    if (!FolderIsWritable(folder))
        throw UsageError("the folder of " + role + " \"" + path + "\" cannot be written");
}

void WriteWholeFile(const std::string& path, const std::string& role, const std::string& bytes) {
    try {
        engine::ReplaceFileAtomically(FromNarrow(path), bytes);
    } catch (const engine::FileFailure& failure) {
        throw std::runtime_error("cannot write " + role + " \"" + path +
                                 "\": " + ToNarrow(engine::FileProblemText(failure.problem())));
    }
}

// The grid of --rates, else the one the option file carries, else none. Both are read, so
// that a mistake in either is found before anything runs.
std::optional<RateGrid> ChosenRateGrid(const AnalyseOptions& options, Console& console) {
    std::optional<RateGrid> ofOptions;
    if (!options.optionsFile.empty()) ofOptions = ReadRateGridOfOptionsFile(options.optionsFile);
    if (options.rates.empty()) return ofOptions;
    std::error_code error;
    // A client's one file named by both options: its options are no fault of the grid.
    if (!options.optionsFile.empty() && fs::equivalent(options.rates, options.optionsFile, error)) {
        if (!ofOptions)
            throw UsageError("the rate grid " + options.rates + " has no [Rates] and [Shares]");
        return ofOptions;
    }
    if (ofOptions && !options.quiet)
        console.err << "orvbatch: note: the rate grid of --rates " << options.rates
                    << " is used, not the one in the option file " << options.optionsFile << "\n";
    return ReadRateGridFile(options.rates);
}

std::wstring Now() {
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalTime(now);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return FromNarrow(text);
}

void SetProperties(BatchAnalyse& batch, const AnalyseOptions& options, Console& console,
                   OutputFolders& folders) {
    batch.put_TranslationMemory(AbsolutePath(options.tm));
    batch.put_TranslationMemoryUserName(FromNarrow(options.user));
    // The prompt waits until the TM refuses the empty password: most memories are open to
    // anyone, and asking for a password they do not need would puzzle the user.
    PasswordContext password;
    password.warnings = &console.err;
    batch.put_TranslationMemoryPassword(ResolvePassword(options.passwordFile, false, password));
    if (!options.source.empty())
        batch.put_TranslationMemorySourceLanguageId(ParseLanguageArgument(options.source));
    if (!options.target.empty())
        batch.put_TranslationMemoryTargetLanguageId(ParseLanguageArgument(options.target));
    batch.put_CreateEmptyTM(options.emptyTm);
    batch.put_LogFileName(OutputPath(options.log, folders));
    batch.put_HTMLSettingsFileName(AbsolutePath(options.htmlSettings));
    batch.put_SGMLSettingsFileName(AbsolutePath(options.sgmlSettings));
    batch.put_UseTMFromPreviousAnalysis(options.usePreviousTm);

    batch.put_ExportUnknownFileName(OutputPath(options.exportUnknown, folders));
    batch.put_ExportUnknownMaxMatch(options.maxMatch);
    batch.put_ExportUnknownFileType(ExportType(options.exportUnknownType, "--export-unknown-type"));
    batch.put_ExportFrequentFileName(OutputPath(options.exportFrequent, folders));
    batch.put_ExportFrequentOccurrences(options.occurrences);
    batch.put_ExportFrequentFileType(
        ExportType(options.exportFrequentType, "--export-frequent-type"));
    batch.put_CreateProjectTMFileName(OutputPath(options.projectTm, folders));

    if (!options.optionsFile.empty())
        ReadTesseraOptionsFile(options.optionsFile, *batch.get_BATesserasettings());

    const auto files = batch.get_Files();
    for (const auto& document : CollectDocuments(options.documents, options.recursive))
        files->Add(FromNarrow(NarrowPathText(document)));
}

// `logKept`: the log is the user's, to be named; else it goes when the run ends.
void WriteResults(BatchAnalyse& batch, const AnalyseOptions& options,
                  const std::optional<RateGrid>& grid, Console& console, bool logKept) {
    const BatchSummary summary = SummariseBatch(*batch.get_Files());
    // Worked out before anything is printed: a quote too large to compute stops every output.
    std::optional<BatchQuote> quote;
    if (grid) quote = QuoteBatch(summary, *grid);
    const BatchQuote* priced = quote ? &*quote : nullptr;
    const std::string format = Lowered(options.format);
    if (format == "table") {
        const bool color = console.terminal.color && console.terminal.stdoutIsTerminal;
        WriteResultTable(console.out, summary, TableStyle{color}, priced);
    } else if (format == "csv") {
        console.out << ToNarrow(batch.GetCsvLogFileContent());
        if (quote && options.quote.empty() && !options.quiet)
            console.err << "orvbatch: note: the CSV output is the CSV log alone; --quote FILE.csv "
                           "writes the quote\n";
    } else {
        WriteResultJson(console.out, summary, priced);
    }
    console.out.flush();
    if (!options.report.empty()) {
        ReportContext context;
        context.tmPath = batch.get_TranslationMemory();
        context.targetLanguage = FromNarrow(options.target);
        context.generatedAt = Now();
        context.quote = priced;
        std::ostringstream report;
        WriteHtmlReport(report, summary, context);
        WriteWholeFile(options.report, "the report", report.str());
    }
    if (quote && !options.quote.empty())
        WriteWholeFile(options.quote, "the quote", QuoteCsvText(summary, *quote));
    if (!options.quiet && format == "table" && logKept)
        console.err << "Log: " << ToNarrow(batch.get_LogFileName()) << "\n";
}

// Why the engine could not read a document: it writes the reason in the row's first cells,
// where the numbers would be.
std::map<std::wstring, std::wstring> ReasonsByDocument(const std::wstring& csvRows) {
    std::map<std::wstring, std::wstring> reasons;
    std::size_t start = 0;
    while (start < csvRows.size()) {
        std::size_t end = csvRows.find(L'\n', start);
        if (end == std::wstring::npos) end = csvRows.size();
        std::wstring row = csvRows.substr(start, end - start);
        start = end + 1;
        if (!row.empty() && row.back() == L'\r') row.pop_back();
        const std::size_t first = row.find(L';');
        if (first == std::wstring::npos) continue;
        const std::size_t second = row.find(L';', first + 1);
        reasons.emplace(row.substr(0, first), row.substr(first + 1, second - first - 1));
    }
    return reasons;
}

// Names every document the analysis could not count, with the reason; how many there were.
std::size_t ReportUnanalysedDocuments(BatchAnalyse& batch, std::ostream& err) {
    const auto reasons = ReasonsByDocument(batch.GetCsvLogFileContentWithoutHeader());
    std::size_t count = 0;
    for (const auto& record : *batch.get_Files()) {
        if (record->get_FileProcessed() && !record->get_ProcessingError()) continue;
        ++count;
        const auto reason = reasons.find(record->get_FilePath());
        err << "orvbatch: not analysed: " << ToNarrow(record->get_FilePath()) << ": "
            << (reason != reasons.end() && !reason->second.empty()
                    ? ToNarrow(reason->second)
                    : std::string("the CSV log has no results for it"))
            << "\n";
    }
    return count;
}

// The progress line lives while the analysis runs; stopping it clears the line, so that
// whatever is printed next starts clean.
class ProgressSession {
public:
    ProgressSession(engine::EngineControl& control, Console& console, bool quiet)
        : control_(control),
          printer_(console.err, console.terminal, console.terminal.stderrIsTerminal && !quiet) {
        Start();
    }
    ~ProgressSession() { Stop(); }
    ProgressSession(const ProgressSession&) = delete;
    ProgressSession& operator=(const ProgressSession&) = delete;

    void Start() {
        active_ = true;
        control_.SetProgressCallback(
            [this](const engine::Progress& done) { printer_.Update(done); });
    }
    void Stop() {
        if (!active_) return;
        active_ = false;
        control_.SetProgressCallback({});
        printer_.Finish();
    }

private:
    engine::EngineControl& control_;
    ProgressPrinter printer_;
    bool active_ = false;
};

// Every file the run reads against every file it writes, the CLI's and the engine's alike.
void RefuseOutputsOverInputs(const AnalyseOptions& options, BatchAnalyse& batch) {
    std::vector<NamedPath> inputs = {{"the translation memory", options.tm},
                                     {"the password file", options.passwordFile},
                                     {"the option file", options.optionsFile},
                                     {"the HTML settings file", options.htmlSettings},
                                     {"the SGML settings file", options.sgmlSettings},
                                     {"the segmentation rules", options.segmentationRules},
                                     {"the rate grid", options.rates}};
    for (const auto& record : *batch.get_Files())
        inputs.push_back({"the document", ToNarrow(record->get_FilePath())});
    std::vector<NamedPath> outputs = {{"the log", options.log}};
    // A log named *.csv is its own CSV log; the engine then writes only that one file.
    const std::string csvLog = ToNarrow(WithExtension(FromNarrow(options.log), L".csv"));
    if (csvLog != options.log) outputs.push_back({"the CSV log", csvLog});
    outputs.insert(outputs.end(), {{"the export of unknown segments", options.exportUnknown},
                                   {"the export of frequent segments", options.exportFrequent},
                                   {"the project TM", options.projectTm},
                                   {"the report", options.report},
                                   {"the quote", options.quote}});
    RefuseOutputsOverInputs(inputs, outputs);
}

}  // namespace

int RunAnalyse(const AnalyseOptions& asked, Console& console) {
    AnalyseOptions options = asked;
    if (!options.encoding.empty() && !engine::IsKnownDocumentEncoding(options.encoding))
        throw UsageError("--encoding: \"" + options.encoding +
                         "\" is no encoding ICU knows (try windows-1252, ISO-8859-2, KOI8-R)");
    std::optional<TemporaryLogFolder> logFolder;
    if (options.log.empty()) {
        try {
            logFolder.emplace();
        } catch (const std::runtime_error& error) {
            throw UsageError(error.what());
        }
        options.log = NarrowPathText(logFolder->path() / "analysis.log");
    }
    const std::optional<RateGrid> grid = ChosenRateGrid(options, console);
    if (!options.quote.empty() && !grid)
        throw UsageError(
            "--quote needs a rate grid: give --rates FILE, or put [Rates] and "
            "[Shares] in the --options file");
    // Before the analysis, so that it goes after it: folders made for outputs that were never
    // written go too.
    OutputFolders folders;
    // The engine this batch starts answers to this control alone: Ctrl-C, the progress line
    // and the engine's reasons for a failure are this run's.
    const auto control = std::make_shared<engine::EngineControl>();
    BatchAnalyse batch(
        ServiceSet(nullptr, nullptr, std::make_shared<engine::EngineObjectServices>(control)));
    SetProperties(batch, options, console, folders);
    const std::wstring rules = AbsolutePath(options.segmentationRules);
    // Read now as well, so that a bad rule is found before a large TM has been loaded.
    if (!rules.empty()) {
        try {
            engine::SrxRules::ReadFile(rules);
        } catch (const AutomationError& error) {
            throw UsageError(ToNarrow(error.description()));
        }
    }
    control->SetExtras({options.encoding, rules, IndexCacheFolder(options)});
    RefuseOutputsOverInputs(options, batch);
    if (!options.report.empty()) CheckOutputFile(options.report, "the report", folders);
    if (!options.quote.empty()) CheckOutputFile(options.quote, "the quote", folders);
    // Held until the results are read, below; a lock that cannot be had at all does not stop
    // the run, as a TM on a file system without locks does not.
    LogInUseLock logLock;
    if (LogInUseLock::Take(ToNarrow(batch.get_LogFileName()), logLock) ==
        LogInUseLock::Outcome::InUse) {
        console.err << "orvbatch: " << options.log << " is in use by another analysis\n";
        return kExitFailure;
    }

    std::optional<int32_t> finishedBeforeCancel;
    const Subscription cancelled = batch.OnBatchAnalysisCancelledByUser.Subscribe(
        [&](int32_t documentsDone) { finishedBeforeCancel = documentsDone; });

    ProgressSession progress(*control, console, options.quiet);
    try {
        try {
            const InterruptCancelsBatch interrupt(*control);
            batch.Analyse();
        } catch (const AutomationError& error) {
            // A protected TM asks for the password only when neither a file nor the
            // environment gave one, and only of someone at a terminal.
            if (error.number() != ovOrvBatchAnalyseErrorUnableToOpenTMWrongPassword ||
                !options.passwordFile.empty() || PasswordFromEnvironment() ||
                !console.terminal.stdinIsTerminal)
                throw;
            progress.Stop();
            batch.put_TranslationMemoryPassword(
                PromptPassword("Password of " + options.user + " for " + options.tm + ": "));
            progress.Start();
            const InterruptCancelsBatch interrupt(*control);
            batch.Analyse();
        }
        progress.Stop();
    } catch (const AutomationError& error) {
        progress.Stop();
        if (finishedBeforeCancel) {
            console.err << "orvbatch: cancelled; " << *finishedBeforeCancel << " of "
                        << batch.get_Files()->Count() << " documents were finished\n";
            return InterruptCancelsBatch::ExitCode();
        }
        ReportComponentError(console.err, error, control.get());
        return kExitFailure;
    }
    WriteResults(batch, options, grid, console, !asked.log.empty());
    // The others' results stand, but a script must not take the batch for complete.
    return ReportUnanalysedDocuments(batch, console.err) == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace orv::cli
