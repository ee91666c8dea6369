#include "support/MemoryFileSystem.h"

#include <algorithm>
#include <stdexcept>

#include "platform/AutomationError.h"
#include "platform/TextCase.h"

namespace orv::test {

namespace {

bool IsUnusable(const std::wstring& path) {
    return path.empty() || path.find(L'\0') != std::wstring::npos;
}

wchar_t HexDigit(int value) {
    return static_cast<wchar_t>(value < 10 ? L'0' + value : L'A' + value - 10);
}

}  // namespace

std::wstring MemoryFileSystem::Key(const std::wstring& path) const {
    std::wstring key = path;
    if (style_ == PathStyle::Windows) {
        std::replace(key.begin(), key.end(), L'/', L'\\');
        key = FoldCase(key);
    }
    while (key.size() > 1 && IsPathSeparator(key.back(), style_)) key.pop_back();
    return key;
}

const MemoryFileSystem::Entry* MemoryFileSystem::Find(const std::wstring& path) const {
    auto found = entries_.find(Key(path));
    return found == entries_.end() ? nullptr : &found->second;
}

void MemoryFileSystem::Call(const std::string& operation, const std::wstring& path,
                            const std::wstring& suffix) const {
    calls.push_back(std::wstring(operation.begin(), operation.end()) + L" " + path + suffix);
    const int ofAll = ++callCounts_[""];
    const int ofOperation = ++callCounts_[operation];
    for (const PlannedFailure& failure : failures_) {
        const bool any = failure.operation.empty();
        if ((any && failure.nth == ofAll) ||
            (failure.operation == operation && failure.nth == ofOperation)) {
            RaiseRuntimeError(failure.number);
        }
    }
}

void MemoryFileSystem::AddFolder(const std::wstring& path) {
    const std::wstring key = Key(path);
    if (entries_.count(key)) return;
    const std::wstring parent = FolderOfPath(path, style_);
    if (Key(parent) != key) AddFolder(parent);
    entries_[key] = Entry{path, true, false, {}};
}

void MemoryFileSystem::AddFile(const std::wstring& path, std::string bytes, bool readOnly) {
    const std::wstring parent = FolderOfPath(path, style_);
    if (LastSeparator(path, style_) != std::wstring::npos) AddFolder(parent);
    entries_[Key(path)] = Entry{path, false, readOnly, std::move(bytes)};
}

void MemoryFileSystem::SetReadOnly(const std::wstring& path, bool readOnly) {
    entries_.at(Key(path)).readOnly = readOnly;
}

bool MemoryFileSystem::HasFile(const std::wstring& path) const {
    const Entry* entry = Find(path);
    return entry && !entry->folder;
}

const std::string& MemoryFileSystem::Content(const std::wstring& path) const {
    const Entry* entry = Find(path);
    if (!entry || entry->folder) throw std::out_of_range("no such file in memory");
    return entry->bytes;
}

std::vector<std::wstring> MemoryFileSystem::FilePaths() const {
    std::vector<std::wstring> paths;
    for (const auto& [key, entry] : entries_) {
        if (!entry.folder) paths.push_back(entry.path);
    }
    return paths;
}

std::wstring MemoryFileSystem::CreateUniqueFile(const std::wstring& folder,
                                                const std::wstring& prefix) {
    const Entry* parent = Find(folder);
    if (folder.empty() || !parent || !parent->folder) return {};
    const std::wstring separator = style_ == PathStyle::Windows ? L"\\" : L"/";
    const std::wstring base = IsPathSeparator(folder.back(), style_) ? folder : folder + separator;
    std::wstring path;
    do {
        std::wstring hex;
        for (int n = ++uniqueNumber_; n > 0; n /= 16) hex.insert(hex.begin(), HexDigit(n % 16));
        path = base + prefix.substr(0, 3) + hex + L".TMP";
    } while (Find(path));
    calls.push_back(L"CreateUniqueFile " + path);
    entries_[Key(path)] = Entry{path, false, uniqueFilesReadOnly, {}};
    return path;
}

void MemoryFileSystem::FailCall(int nth, int32_t number, const std::string& operation) {
    failures_.push_back({nth, number, operation});
}

bool MemoryFileSystem::FileExists(const std::wstring& path) const {
    Call("FileExists", path);
    return !IsUnusable(path) && HasFile(path);
}

bool MemoryFileSystem::FolderExists(const std::wstring& path) const {
    Call("FolderExists", path);
    const Entry* entry = IsUnusable(path) ? nullptr : Find(path);
    return entry && entry->folder;
}

std::wstring MemoryFileSystem::GetFileName(const std::wstring& path) const {
    return LastPathComponent(path, style_);
}

std::wstring MemoryFileSystem::GetBaseName(const std::wstring& path) const {
    return BaseNameOfPath(path, style_);
}

std::wstring MemoryFileSystem::GetExtensionName(const std::wstring& path) const {
    return ExtensionOfPath(path, style_);
}

void MemoryFileSystem::DeleteFile(const std::wstring& path, bool force) {
    Call("DeleteFile", path, force ? L" force" : L"");
    const std::wstring name = LastPathComponent(path, style_);
    std::vector<std::wstring> victims;
    if (name.find_first_of(L"*?") == std::wstring::npos) {
        if (!IsUnusable(path) && HasFile(path)) victims.push_back(Key(path));
    } else {
        const std::wstring folder = Key(FolderOfPath(path, style_));
        const bool inFolder = LastSeparator(path, style_) != std::wstring::npos;
        const std::wstring pattern = style_ == PathStyle::Windows ? FoldCase(name) : name;
        for (const auto& [key, entry] : entries_) {
            const bool sameFolder = inFolder ? LastSeparator(key, style_) != std::wstring::npos &&
                                                   Key(FolderOfPath(key, style_)) == folder
                                             : LastSeparator(key, style_) == std::wstring::npos;
            if (!entry.folder && sameFolder &&
                MatchesWildcard(pattern, LastPathComponent(key, style_))) {
                victims.push_back(key);
            }
        }
    }
    if (victims.empty()) RaiseRuntimeError(kErrFileNotFound);
    if (!force) {
        for (const auto& victim : victims) {
            if (entries_.at(victim).readOnly) RaiseRuntimeError(kErrPermissionDenied);
        }
    }
    for (const auto& victim : victims) entries_.erase(victim);
}

std::string MemoryFileSystem::ReadFile(const std::wstring& path) const {
    Call("ReadFile", path);
    if (IsUnusable(path)) RaiseRuntimeError(kErrBadFileName);
    const Entry* entry = Find(path);
    if (!entry) RaiseRuntimeError(kErrFileNotFound);
    if (entry->folder) RaiseRuntimeError(kErrPathFileAccess);
    return entry->bytes;
}

void MemoryFileSystem::WriteFile(const std::wstring& path, const std::string& bytes) {
    Call("WriteFile", path);
    if (IsUnusable(path)) RaiseRuntimeError(kErrBadFileName);
    if (const Entry* entry = Find(path)) {
        if (entry->folder) RaiseRuntimeError(kErrPathFileAccess);
        if (entry->readOnly) RaiseRuntimeError(kErrPermissionDenied);
    } else if (LastSeparator(path, style_) != std::wstring::npos) {
        const Entry* parent = Find(FolderOfPath(path, style_));
        if (!parent || !parent->folder) RaiseRuntimeError(kErrFileNotFound);
    }
    Entry& entry = entries_[Key(path)];
    if (entry.path.empty()) entry.path = path;
    entry.bytes = bytes;
}

}  // namespace orv::test
