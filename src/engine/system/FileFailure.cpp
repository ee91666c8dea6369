#include "engine/system/FileFailure.h"

#include "platform/NarrowText.h"

namespace orv::engine {

FileProblem OtherFailureOf(FileUse use) {
    switch (use) {
        case FileUse::Read:
            return FileProblem::ReadFailed;
        case FileUse::Write:
            return FileProblem::WriteFailed;
        case FileUse::Open:
        case FileUse::Create:
            break;
    }
    return FileProblem::OpenFailed;
}

std::wstring FileProblemText(FileProblem problem) {
    switch (problem) {
        case FileProblem::NotFound:
            return L"the file does not exist";
        case FileProblem::FolderNotFound:
            return L"the folder does not exist";
        case FileProblem::AccessDenied:
            return L"access to the file is denied";
        case FileProblem::BadName:
            return L"the file name cannot be used on this system";
        case FileProblem::IsFolder:
            return L"the path names a folder, not a file";
        case FileProblem::NotRegular:
            return L"the path names a device, pipe or socket, not a regular file";
        case FileProblem::AlreadyExists:
            return L"a file of that name is already there";
        case FileProblem::TooLarge:
            return L"the file is too large";
        case FileProblem::DiskFull:
            return L"the disk is full";
        case FileProblem::OpenFailed:
            return L"the file cannot be opened";
        case FileProblem::ReadFailed:
            return L"the file cannot be read to its end";
        case FileProblem::WriteFailed:
            return L"the file cannot be written";
        case FileProblem::Cancelled:
            return L"reading the file was cancelled";
    }
    return L"the file cannot be used";
}

std::wstring FileProblemSentence(FileProblem problem) {
    std::wstring text = FileProblemText(problem);
    if (!text.empty() && text[0] >= L'a' && text[0] <= L'z')
        text[0] = static_cast<wchar_t>(text[0] - L'a' + L'A');
    return text;
}

FileFailure::FileFailure(FileProblem problem)
    : std::runtime_error(ToNarrow(FileProblemText(problem))), problem_(problem) {}

}  // namespace orv::engine
