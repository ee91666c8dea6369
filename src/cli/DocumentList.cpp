#include "cli/DocumentList.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <type_traits>

#include "cli/tm/UsageError.h"
#include "engine/formats/Document.h"
#include "engine/text/PlainTextDocument.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"

namespace fs = std::filesystem;

namespace orv::cli {
namespace {

// From the system's own name: on Windows, a name outside the ANSI code page has no narrow form.
bool IsHidden(const fs::path& path) {
    const fs::path::string_type name = path.filename().native();
    return !name.empty() && name.front() == '.';
}

// A document whose path the narrow encoding cannot hold (on Windows: a character outside the
// ANSI code page) can be named neither in the job file nor in the results. It is refused
// rather than passed over: the user may be counting on it.
void RefuseUnnamable(const fs::path& document) {
    const std::wstring path = FromNativePath(document);
    if (ToNarrowExactly(path)) return;
    throw UsageError("cannot analyse \"" + ToNarrow(path) + "\": the system's code page (" +
                     NarrowEncodingName() + ") cannot represent its name; rename it");
}

// What a path that is no regular file names, for the message that refuses it.
std::string KindOf(fs::file_type type) {
    switch (type) {
        case fs::file_type::character:
            return "a character device";
        case fs::file_type::block:
            return "a block device";
        case fs::file_type::fifo:
            return "a named pipe";
        case fs::file_type::socket:
            return "a socket";
        default:
            return "no regular file";
    }
}

std::vector<fs::path> DocumentsInFolder(const fs::path& folder, bool recursive) {
    std::vector<fs::path> found;
    std::error_code error;
    // A pipe or device under a document's name is taken too, so that it is refused by name
    // rather than passed over in silence.
    auto add = [&](const fs::directory_entry& entry) {
        if (entry.is_directory(error) || !IsDocumentFile(entry.path())) return;
        RefuseUnnamable(entry.path());
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
        throw UsageError("cannot list the folder \"" + NarrowPathText(folder) +
                         "\": " + error.message());
    std::sort(found.begin(), found.end());
    return found;
}

// Only a regular file of at most the engine's limit is a document: a device may never end
// (/dev/zero fills the memory) and a pipe blocks, and the engine reads a document whole.
void RefuseNonDocument(const fs::path& path, const std::string& shown) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        throw UsageError("cannot find the document \"" + shown + "\"");
    if (error) throw UsageError("cannot analyse \"" + shown + "\": " + error.message());
    if (status.type() != fs::file_type::regular)
        throw UsageError("cannot analyse \"" + shown + "\": it is " + KindOf(status.type()) +
                         ", not a regular file");
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) throw UsageError("cannot analyse \"" + shown + "\": " + error.message());
    if (size > engine::kMaxDocumentFileBytes)
        throw UsageError("cannot analyse \"" + shown + "\": it is larger than the " +
                         std::to_string(engine::kMaxDocumentFileBytes >> 20) +
                         " MB a document may have (" + std::to_string(size >> 20) + " MB)");
}

}  // namespace

bool IsDocumentFile(const fs::path& path) {
    // Only the extension decides, and the engine knows no extension outside ASCII.
    std::wstring name = L"document";
    const fs::path extension = path.extension();
    for (const fs::path::value_type c : extension.native()) {
        if (static_cast<std::make_unsigned_t<fs::path::value_type>>(c) >= 0x80) return false;
        name += static_cast<wchar_t>(c);
    }
    return engine::KnownFormatOfDocument(name).has_value();
}

std::vector<fs::path> CollectDocuments(const std::vector<std::string>& arguments, bool recursive) {
    std::vector<fs::path> documents;
    std::set<fs::path> seen;
    auto refuseSemicolon = [](const fs::path& path) {
        if (NarrowPathText(path).find(';') != std::string::npos)
            throw UsageError("cannot analyse \"" + NarrowPathText(path) +
                             "\": the results cannot name a path that contains \";\"");
    };
    auto take = [&](const fs::path& path, const std::string& shown) {
        refuseSemicolon(path);
        RefuseNonDocument(path, shown);
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
            take(path, argument);
            continue;
        }
        const auto inside = DocumentsInFolder(path, recursive);
        if (inside.empty())
            throw UsageError("the folder \"" + NarrowPathText(path) + "\" holds no documents" +
                             (recursive ? "" : " (add -r to look in its sub-folders)"));
        for (const auto& document : inside) take(document, NarrowPathText(document));
    }
    if (documents.empty()) throw UsageError("no documents to analyse");
    return documents;
}

}  // namespace orv::cli
