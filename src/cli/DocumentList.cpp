#include "cli/DocumentList.h"

#include <algorithm>
#include <set>

#include "cli/tm/UsageError.h"

namespace fs = std::filesystem;

namespace orv::cli {
namespace {

bool IsHidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name.front() == '.';
}

std::vector<fs::path> DocumentsInFolder(const fs::path& folder, bool recursive) {
    std::vector<fs::path> found;
    std::error_code error;
    auto add = [&](const fs::directory_entry& entry) {
        if (entry.is_regular_file(error) && IsDocumentFile(entry.path()))
            found.push_back(entry.path());
    };
    if (recursive) {
        fs::recursive_directory_iterator it(folder, fs::directory_options::none, error), end;
        for (; !error && it != end; it.increment(error)) {
            if (IsHidden(it->path())) {
                if (it->is_directory(error)) it.disable_recursion_pending();
                continue;
            }
            add(*it);
        }
    } else {
        fs::directory_iterator it(folder, error), end;
        for (; !error && it != end; it.increment(error))
            if (!IsHidden(it->path())) add(*it);
    }
    if (error)
        throw UsageError("cannot list the folder \"" + folder.string() + "\": " + error.message());
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

bool IsDocumentFile(const fs::path& path) {
    static const std::set<std::string> kExtensions = {".txt",   ".text",  ".htm", ".html",
                                                      ".xhtml", ".xml",   ".sgm", ".sgml",
                                                      ".xlf",   ".xliff", ".po",  ".pot"};
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return kExtensions.count(extension) != 0;
}

std::vector<fs::path> CollectDocuments(const std::vector<std::string>& arguments, bool recursive) {
    std::vector<fs::path> documents;
    std::set<fs::path> seen;
    auto refuseSemicolon = [](const fs::path& path) {
        if (path.string().find(';') != std::string::npos)
            throw UsageError("cannot analyse \"" + path.string() +
                             "\": the results cannot name a path that contains \";\"");
    };
    auto take = [&](const fs::path& path) {
        refuseSemicolon(path);
        if (seen.insert(path).second) documents.push_back(path);
    };
    for (const auto& argument : arguments) {
        if (argument.empty()) throw UsageError("an empty document path was given");
        const fs::path path = fs::absolute(argument).lexically_normal();
        refuseSemicolon(path);
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            // The engine would only mark a missing document as not processed, at the end of
            // a run that may be long; a slip in a name is better found now.
            if (!fs::exists(path, error))
                throw UsageError("cannot find the document \"" + argument + "\"");
            take(path);
            continue;
        }
        const auto inside = DocumentsInFolder(path, recursive);
        if (inside.empty())
            throw UsageError("the folder \"" + path.string() + "\" holds no documents" +
                             (recursive ? "" : " (add -r to look in its sub-folders)"));
        for (const auto& document : inside) take(document);
    }
    if (documents.empty()) throw UsageError("no documents to analyse");
    return documents;
}

}  // namespace orv::cli
