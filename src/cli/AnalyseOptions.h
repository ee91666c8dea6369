#pragma once
// What `orvbatch analyse` was asked to do, as the command line gave it: texts as typed,
// nothing checked yet beyond what the option parser checks.

#include <optional>
#include <string>
#include <vector>

namespace orv::cli {

struct AnalyseOptions {
    std::string tm;
    std::string user;
    std::string passwordFile;
    std::string source;  // a language id or tag; empty when not given
    std::string target;
    bool emptyTm = false;
    std::string log;  // empty: no log is kept
    std::string htmlSettings;
    std::string sgmlSettings;
    bool usePreviousTm = false;
    std::string encoding;           // empty: the engine detects it
    std::string segmentationRules;  // empty: the engine's own rules
    std::string indexCache;         // empty: the user's cache folder
    bool noIndexCache = false;

    std::string exportUnknown;
    int maxMatch = 85;
    std::string exportUnknownType = "text";
    std::string exportFrequent;
    int occurrences = 5;
    std::string exportFrequentType = "text";
    std::string projectTm;

    std::string optionsFile;
    std::string format = "table";  // table, csv or json, in any letter case
    std::string report;
    std::string rates;  // a rate grid; empty: the option file's, if it has one
    std::string quote;  // the quote as CSV; needs a rate grid
    bool quiet = false;
    bool recursive = false;
    std::vector<std::string> documents;
};

}  // namespace orv::cli
