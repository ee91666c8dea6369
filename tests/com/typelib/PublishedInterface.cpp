#include "PublishedInterface.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <utility>

namespace orv::test::typelib {
namespace {

Member Get(std::wstring_view name, std::int32_t id, TypeRef type) {
    return {name, Invoke::Get, id, type, {}};
}
Member Put(std::wstring_view name, std::int32_t id, TypeRef type) {
    return {name, Invoke::Put, id, kNone, {{type}}};
}
Member PutRef(std::wstring_view name, std::int32_t id, std::wstring_view interfaceName) {
    return {name, Invoke::PutRef, id, kNone, {{ObjectOf(interfaceName)}}};
}
Member Method(std::wstring_view name, std::int32_t id, TypeRef result,
              std::vector<Parameter> parameters = {}) {
    return {name, Invoke::Method, id, result, std::move(parameters)};
}
Member WithHelp(Member member, std::vector<std::wstring_view> mentions) {
    member.helpMentions = std::move(mentions);
    return member;
}
Member Hidden(Member member) {
    member.hidden = true;
    return member;
}

std::vector<Member> PutGet(std::wstring_view name, std::int32_t id, TypeRef type) {
    return {Put(name, id, type), Get(name, id, type)};
}

struct Field {
    std::wstring_view name;
    TypeRef type;
};

// Public fields: a get and a put each, numbered upward from `first`. The description gives the
// first and the last id of the range; a table whose field count does not fill it exactly is
// wrong, and every later check would be against shifted ids.
std::vector<Member> NumberedFields(std::int32_t first, std::int32_t last,
                                   std::initializer_list<Field> fields) {
    if (first + static_cast<std::int32_t>(fields.size()) - 1 != last) {
        std::fprintf(stderr, "PublishedInterface: %zu fields do not fill 0x%08X to 0x%08X\n",
                     fields.size(), static_cast<unsigned>(first), static_cast<unsigned>(last));
        std::abort();
    }
    std::vector<Member> members;
    std::int32_t id = first;
    for (const Field& field : fields) {
        members.push_back(Get(field.name, id, field.type));
        members.push_back(Put(field.name, id, field.type));
        ++id;
    }
    return members;
}

std::vector<Member> Concat(std::initializer_list<std::vector<Member>> parts) {
    std::vector<Member> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The help string explains why Word is kept running: Tessera's timing problems with the Word
// object when Word is launched in the background.
const std::vector<std::wstring_view> kLoadWordObjectHelp{L"Word", L"background", L"Tessera"};

const TypeRef kExportFileType = EnumerationOf(L"TsExportFileType");

Interface BatchAnalyseInterface() {
    return {L"_BatchAnalyse", L"{0959126A-EECF-4B33-B43C-6D4E067391E8}",
            Concat({
                {Get(L"Files", 0x68030014, ObjectOf(L"_Files")),
                 PutRef(L"Files", 0x68030014, L"_Files"),
                 WithHelp(Put(L"LoadWordObject", 0x68030013, kBoolean), kLoadWordObjectHelp),
                 WithHelp(Get(L"LoadWordObject", 0x68030013, kBoolean), kLoadWordObjectHelp)},
                PutGet(L"CreateEmptyTM", 0x68030012, kBoolean),
                PutGet(L"CreateProjectTMFileName", 0x68030011, kString),
                PutGet(L"ExportFrequentFileType", 0x68030010, kExportFileType),
                PutGet(L"ExportFrequentOccurrences", 0x6803000F, kLong),
                PutGet(L"ExportFrequentFileName", 0x6803000E, kString),
                PutGet(L"ExportUnknownFileType", 0x6803000D, kExportFileType),
                PutGet(L"ExportUnknownMaxMatch", 0x6803000C, kLong),
                PutGet(L"ExportUnknownFileName", 0x6803000B, kString),
                PutGet(L"LogFileName", 0x6803000A, kString),
                PutGet(L"UseTMFromPreviousAnalysis", 0x68030009, kBoolean),
                PutGet(L"TranslationMemorySourceLanguageId", 0x68030008, kLong),
                PutGet(L"TranslationMemoryTargetLanguageId", 0x68030007, kLong),
                PutGet(L"TranslationMemoryPassword", 0x68030006, kString),
                PutGet(L"TranslationMemoryUserName", 0x68030005, kString),
                PutGet(L"TranslationMemory", 0x68030004, kString),
                PutGet(L"SGMLSettingsFileName", 0x68030003, kString),
                PutGet(L"HTMLSettingsFileName", 0x68030002, kString),
                {PutRef(L"BATesserasettings", 0x68030001, L"_clsBATesseraSettings"),
                 Get(L"BATesserasettings", 0x68030001, ObjectOf(L"_clsBATesseraSettings")),
                 PutRef(L"BATessera", 0x68030000, L"_clsBATessera"),
                 Get(L"BATessera", 0x68030000, ObjectOf(L"_clsBATessera")),
                 Method(L"Analyse", 0x60030016, kBoolean),
                 Method(L"CloseTessera", 0x60030017, kBoolean),
                 Method(L"GetLogFileContent", 0x60030018, kString),
                 Method(L"GetCsvLogFileContentWithoutHeader", 0x60030019, kString),
                 Method(L"GetCsvLogFileContent", 0x6003001A, kString),
                 Method(L"StartTessera", 0x6003001B, kBoolean), Get(L"Name", 0x6803001D, kString),
                 Put(L"Name", 0x6803001D, kString), Get(L"Key", 0x6803001C, kString),
                 Put(L"Key", 0x6803001C, kString)},
            })};
}

Interface FilesInterface() {
    const TypeRef record = ObjectOf(L"_clsBAFileInfo");
    return {L"_Files",
            L"{7896C15A-9B6B-475B-B8B2-3225642CB9DE}",
            {
                Method(L"Add", 0x60030001, record,
                       {{kString, L"strFilePath"}, {kString, L"strKey", true}}),
                {L"Item", Invoke::GetOrMethod, 0, record, {{kVariant, L"vntIndexKey"}}},
                Get(L"Count", 0x68030000, kLong),
                Method(L"Remove", 0x60030002, kNone, {{kVariant, L"vntIndexKey"}}),
                Hidden({L"NewEnum", Invoke::GetOrMethod, -4, kUnknown, {}}),
            }};
}

Interface FileInfoInterface() {
    return {L"_clsBAFileInfo", L"{94829F5E-2F6B-4433-BB25-DB7BA69EBD27}",
            Concat({
                NumberedFields(
                    0x40030003, 0x40030028,
                    {
                        {L"TaggingErrors", kLong},           {L"CharsPerWord", kDouble},
                        {L"SegmentsTotal", kLong},           {L"WordsTotal", kLong},
                        {L"PlaceablesTotal", kLong},         {L"CharactersTotal", kLong},
                        {L"SegmentsInRepetitions", kLong},   {L"WordsInRepetitions", kLong},
                        {L"PlaceablesInRepetitions", kLong}, {L"PercentInRepetitions", kLong},
                        {L"SegmentsIn100Matches", kLong},    {L"WordsIn100Matches", kLong},
                        {L"PlaceablesIn100Matches", kLong},  {L"PercentIn100Matches", kLong},
                        {L"SegmentsIn95Matches", kLong},     {L"WordsIn95Matches", kLong},
                        {L"PlaceablesIn95Matches", kLong},   {L"PercentIn95Matches", kLong},
                        {L"SegmentsIn85Matches", kLong},     {L"WordsIn85Matches", kLong},
                        {L"PlaceablesIn85Matches", kLong},   {L"PercentIn85Matches", kLong},
                        {L"SegmentsIn75Matches", kLong},     {L"WordsIn75Matches", kLong},
                        {L"PlaceablesIn75Matches", kLong},   {L"PercentIn75Matches", kLong},
                        {L"SegmentsIn50Matches", kLong},     {L"WordsIn50Matches", kLong},
                        {L"PlaceablesIn50Matches", kLong},   {L"PercentIn50Matches", kLong},
                        {L"SegmentsInRelay", kLong},         {L"WordsInRelay", kLong},
                        {L"PlaceablesInRelay", kLong},       {L"PercentInRelay", kLong},
                        {L"SegmentsInNoMatches", kLong},     {L"WordsInNoMatches", kLong},
                        {L"PlaceablesInNoMatches", kLong},   {L"PercentInNoMatches", kLong},
                    }),
                PutGet(L"FileProcessed", 0x68030002, kBoolean),
                PutGet(L"ProcessingError", 0x68030001, kBoolean),
                PutGet(L"FilePath", 0x68030000, kString),
                // Only the get: Files.Add sets the key through a friend setter.
                {Get(L"Key", 0x68030003, kString)},
            })};
}

Interface SessionInterface() {
    return {L"_clsBATessera",
            L"{9FA1B820-47F9-45C9-91C6-2333FEC761D4}",
            {
                Method(L"CloseTessera", 0x60030008, kBoolean),
                Method(L"StartTessera", 0x60030009, kBoolean),
            }};
}

Interface SettingsInterface() {
    return {L"_clsBATesseraSettings", L"{E721E2EE-B5EC-41D6-BEB0-957C36ED41D2}",
            NumberedFields(
                0x40030000, 0x40030030,
                {
                    {L"WasInitialised", kBoolean},
                    {L"OptionsConcordanceDisplayInformation", kBoolean},
                    {L"OptionsConcordanceMaximumHits", kLong},
                    {L"OptionsConcordanceMinimumMatchValue", kLong},
                    {L"OptionsConcordanceSearchFirstInReferenceTM", kBoolean},
                    {L"OptionsConcordanceReferenceTranslationMemory", kString},
                    {L"OptionsGeneralCopySourceOnNoMatch", kBoolean},
                    {L"OptionsGeneralDisplayTime", kBoolean},
                    {L"OptionsGeneralInsertBlankAfterTag", kBoolean},
                    {L"OptionsGeneralMaximumHits", kLong},
                    {L"OptionsGeneralMinimumMatchValue", kLong},
                    {L"OptionsGeneralShowProjectSettings", kBoolean},
                    {L"OptionsGeneralUpdateChangedTranslationUnits", kLong},
                    {L"OptionsGeneralUpdateUsedTranslationUnits", kLong},
                    {L"OptionsPenaltiesAlignmentPenalty", kLong},
                    {L"OptionsPenaltiesApplyPlaceablePenaltyOnSourceTagDifference", kBoolean},
                    {L"OptionsPenaltiesAttributeMismatchPenalty", kLong},
                    {L"OptionsPenaltiesFormattingMismatchPenalty", kLong},
                    {L"OptionsPenaltiesMachineTranslationPenalty", kLong},
                    {L"OptionsPenaltiesMultipleTranslationsPenalty", kLong},
                    {L"OptionsPenaltiesPlaceableMismatchPenalty", kLong},
                    {L"OptionsSubstitutionLocalisationDecimalSeparator", kString},
                    {L"OptionsSubstitutionLocalisationGroupSeparator", kString},
                    {L"OptionsSubstitutionLocalisationLongDatePattern", kString},
                    {L"OptionsSubstitutionLocalisationMeasurementSystem", kLong},
                    {L"OptionsSubstitutionLocalisationShortDatePattern", kString},
                    {L"OptionsSubstitutionLocalisationSubstituteDates", kBoolean},
                    {L"OptionsSubstitutionLocalisationSubstituteMeasurements", kBoolean},
                    {L"OptionsSubstitutionLocalisationSubstituteNumbers", kBoolean},
                    {L"OptionsSubstitutionLocalisationSubstituteTimes", kBoolean},
                    {L"OptionsSubstitutionLocalisationTimePattern", kString},
                    {L"OptionsTermRecognitionEnable", kBoolean},
                    {L"OptionsTermRecognitionMinimumMatchValue", kLong},
                    {L"OptionsTermRecognitionSearchDepth", kLong},
                    {L"OptionsToolsAlwaysAddNewTUWhenTargetsDiffer", kBoolean},
                    {L"OptionsToolsBackupPath", kString},
                    {L"OptionsToolsHtmlSettingsFile", kString},
                    {L"OptionsToolsKeepBackup", kBoolean},
                    {L"OptionsToolsMoveBackupFiles", kBoolean},
                    {L"OptionsToolsMultiSegmentFootnotes", kBoolean},
                    {L"OptionsToolsSaveTesseraRTFAsKTX", kBoolean},
                    {L"OptionsToolsSgmlSettingsFile", kString},
                    {L"OptionsToolsStripUnusedFonts", kBoolean},
                    {L"OptionsToolsStripUnusedStyles", kBoolean},
                    {L"OptionsToolsStripTesseraStyles", kBoolean},
                    {L"OptionsToolsUseSameLogFileForAllTMs", kBoolean},
                    {L"OptionsTranslatedTextColoursSourceColour", kLong},
                    {L"OptionsTranslatedTextColoursTargetColourExactMatch", kLong},
                    {L"OptionsTranslatedTextColoursTargetColourFuzzyMatch", kLong},
                })};
}

Library Build() {
    return {
        L"OrvBatchAnalyse",
        L"{D3B459E1-71CE-4C11-BB99-4076EF03C079}",
        1,
        0,
        {
            {L"BatchAnalyse", L"{4EF9B809-4565-4C33-9915-5BDA07307ED7}", true, L"_BatchAnalyse",
             L"__BatchAnalyse"},
            {L"Files", L"{80938C74-0BFE-4806-8B1E-EADE68AAAD33}", false, L"_Files", L""},
            {L"clsBAFileInfo", L"{9F805778-32C1-46A2-896B-CEA24008B2FB}", true, L"_clsBAFileInfo",
             L""},
            {L"clsBATessera", L"{A23A402D-1773-41A2-BD27-6D5550091CA6}", true, L"_clsBATessera",
             L"__clsBATessera"},
            {L"clsBATesseraSettings", L"{4FD30E40-87B2-46C6-A1E6-B55082D7F878}", false,
             L"_clsBATesseraSettings", L""},
        },
        {
            BatchAnalyseInterface(),
            FilesInterface(),
            FileInfoInterface(),
            SessionInterface(),
            SettingsInterface(),
        },
        {
            {L"__BatchAnalyse",
             L"{E673A09C-47A8-4C62-9923-D804668E83D0}",
             {Method(L"OnBatchAnalysisCancelledByUser", 1, kNone, {{kLong, L"ProcessedFiles"}})}},
            {L"__clsBATessera",
             L"{902F60ED-9C38-420A-9C6D-6828165E9A2F}",
             {Method(L"OnBatchCancelledByUser", 1, kNone, {{kLong, L"ProcessedFiles"}})}},
        },
        {
            {L"TsExportFileType",
             L"{4CFE2508-C658-4989-9DFB-5732CFAD7598}",
             {
                 {L"TsExportFileTypeTes2x", 1},
                 {L"TsExportFileTypeTMX", 2},
                 {L"TsExportFileTypeSystran", 3},
                 {L"TsExportFileTypeLogos", 4},
                 {L"TsExportFileTypeWord", 5},
                 {L"TsExportFileTypeTes1x", 6},
                 {L"TsExportFileTypeTesDOS", 7},
             }},
            {L"OrvBatchAnalyseErrors",
             L"{260365F5-8E91-43E0-88BA-CE4387B80AC6}",
             {
                 {L"ovOrvBatchAnalyseErrorUnknown", 40000},
                 {L"ovOrvBatchAnalyseErrorUnableToOpenTes", 40001},
                 {L"ovOrvBatchAnalyseErrorDuringAnalysis", 40002},
                 {L"ovOrvBatchAnalyseErrorUnableToFindFile", 40003},
                 {L"ovOrvBatchAnalyseErrorUnableToFindDirectory", 40004},
                 {L"ovOrvBatchAnalyseErrorUnableToFindLogFile", 40005},
                 {L"ovOrvBatchAnalyseErrorUnableToOpenTM", 40006},
                 {L"ovOrvBatchAnalyseErrorUnableToCreateEmptyTM", 40007},
                 {L"ovOrvBatchAnalyseErrorUnableToSetUpTargetLanguage", 40008},
                 {L"ovOrvBatchAnalyseErrorUnableToSetUpSourceLanguage", 40009},
                 {L"ovOrvBatchAnalyseErrorUnableToCreateJobFile", 40010},
                 {L"ovOrvBatchAnalyseErrorNoSourceLanguageSpecified", 40011},
                 {L"ovOrvBatchAnalyseErrorNoTargetLanguageSpecified", 40012},
                 {L"ovOrvBatchAnalyseErrorNoTmSpecified", 40013},
                 {L"ovOrvBatchAnalyseErrorNoUserNameSpecified", 40014},
                 {L"ovOrvBatchAnalyseErrorTmDoesntExist", 40015},
                 {L"ovOrvBatchAnalyseErrorUnableToOpenTMWrongPassword", 40016},
                 {L"ovOrvBatchAnalyseErrorFileBiggerThan64kOnWin9x", 40017},
             }},
        },
        {
            // The private worker classes and the modules.
            L"clsJobFile",
            L"clsLogFileParser",
            L"modErrors",
            L"modTools",
            L"RaiseError",
            L"GetErrorMessage",
            L"GetUniqueTempFileName",
            L"QuotePath",
            L"IsWin9x",
            L"GetTesseraApplication",
            L"ActivateTesseraWindow",
            L"GetWordApplication",
            // Tessera's own interfaces, which the component calls but does not publish.
            L"TessappApplication",
            L"TessappTM",
            // Private members of BatchAnalyse and clsBAFileInfo.
            L"CreateTesseraSession",
            L"PassPropertiesToTessera",
            L"mobjBATessera",
            L"mobjBATessera_OnBatchCancelledByUser",
            L"ClearStatistics",
            // Friend and private members of clsBATessera.
            L"RunJob",
            L"CloseTM",
            L"CreateTemporaryTM",
            L"DeleteTemporaryTM",
            L"StartWord",
            L"OpenTM",
            L"SetUpLanguages",
            L"QuitWord",
            L"mobjTxApplication",
            L"mobjTxApplication_OnBatchCancelledByUser",
            // Friend and private members of clsBATesseraSettings.
            L"ApplyToTessera",
            L"ApplyConcordanceOptions",
            L"ApplyGeneralOptions",
            L"ApplyPenaltiesOptions",
            L"ApplySubstitutionLocalisationOptions",
            L"ApplyTermRecognitionOptions",
            L"ApplyToolsOptions",
            L"ApplyTranslatedTextColoursOptions",
        },
        {
            {L"_clsBAFileInfo", L"Key", Invoke::Put},
            {L"_clsBAFileInfo", L"Key", Invoke::PutRef},
            // The session's friend copies of BatchAnalyse's properties of the same names.
            {L"_clsBATessera", L"LoadWordObject", std::nullopt},
            {L"_clsBATessera", L"TranslationMemory", std::nullopt},
            {L"_clsBATessera", L"TranslationMemoryUserName", std::nullopt},
            {L"_clsBATessera", L"TranslationMemoryPassword", std::nullopt},
            {L"_clsBATessera", L"TranslationMemorySourceLanguageId", std::nullopt},
            {L"_clsBATessera", L"TranslationMemoryTargetLanguageId", std::nullopt},
            {L"_clsBATessera", L"BATesserasettings", std::nullopt},
        },
    };
}

}  // namespace

const Library& Published() {
    static const Library library = Build();
    return library;
}

}  // namespace orv::test::typelib
