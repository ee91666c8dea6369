#pragma once
// The documents a user names on the command line, as the component needs them: absolute
// paths (its folder test refuses a bare file name), each once, folders opened up.

#include <filesystem>
#include <string>
#include <vector>

namespace orv::cli {

// Whether a file found inside a folder is one the analysis reads: the extensions of the
// document types the engine knows, plain text included. A file named on its own is always
// taken, whatever its extension.
bool IsDocumentFile(const std::filesystem::path& path);

// `arguments` in order, each made absolute against the current folder. A folder adds the
// documents inside it (IsDocumentFile; hidden files and folders are passed over), in name
// order, and with `recursive` those of its sub-folders too. A path named twice is analysed
// once. Throws UsageError for a path with ";" in it (the CSV log separates its cells with
// it), for a path that does not exist, for one that is no regular file (a device, a pipe, a
// socket: named, or under a document's name in a folder), for a file larger than the engine
// reads (engine::kMaxDocumentFileBytes), for a folder without documents, and for no
// documents at all; the message names the path and the reason.
std::vector<std::filesystem::path> CollectDocuments(const std::vector<std::string>& arguments,
                                                    bool recursive);

}  // namespace orv::cli
