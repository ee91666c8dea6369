#pragma once
// How a file operation of the engine fails, in the terms the engine reports. Each system's
// implementation turns its own error codes into a FileProblem in one place, and every message
// about a file takes its words from FileProblemText, so the same fault reads the same on every
// system and in every part of the engine.

#include <stdexcept>
#include <string>

namespace orv::engine {

enum class FileProblem {
    NotFound,        // no file by that name
    FolderNotFound,  // the folder a new file was to go into is not there
    AccessDenied,    // the system refuses the access (permissions, a read-only file system)
    BadName,         // the text cannot name a file here (empty, NUL, unrepresentable)
    IsFolder,        // a folder stands where a file was wanted
    NotRegular,      // a device, pipe or socket, which could be read for ever
    AlreadyExists,   // a new file's name is taken
    TooLarge,        // beyond the limit the reader set
    DiskFull,        // no space (or quota) left
    OpenFailed,      // any other failure to open
    ReadFailed,      // any other failure while reading
    WriteFailed,     // any other failure while writing, syncing, closing or renaming
    Cancelled,       // the caller's stop check asked for it
};

// What a system call that failed was doing: an error the system gives no more specific meaning
// is the step's own failure (OtherFailureOf).
enum class FileUse { Open, Create, Read, Write };
FileProblem OtherFailureOf(FileUse use);

// In words, lower case, no path and no digits: "the file does not exist". Fits after
// "Cannot read TM x: " and, with its first letter raised, stands alone as a reason.
std::wstring FileProblemText(FileProblem problem);

// The text with its first letter in upper case, for a reason that stands alone.
std::wstring FileProblemSentence(FileProblem problem);

class FileFailure : public std::runtime_error {
public:
    explicit FileFailure(FileProblem problem);
    FileProblem problem() const noexcept { return problem_; }

private:
    FileProblem problem_;
};

}  // namespace orv::engine
