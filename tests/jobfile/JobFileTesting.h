#pragma once
// Helpers shared by the job-file tests: a fresh thread for the per-thread OS-family answer,
// the error a call raised, and a file system that fails on request.

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "platform/AutomationError.h"
#include "platform/FileSystem.h"

namespace orv::test {

// Runs `work` on a thread of its own, where the OS family has not been asked yet, and
// hands back its result (or rethrows what it threw).
template <class Work>
auto OnFreshThread(Work work) -> decltype(work()) {
    std::optional<decltype(work())> result;
    std::exception_ptr thrown;
    std::thread([&] {
        try {
            result.emplace(work());
        } catch (...) {
            thrown = std::current_exception();
        }
    }).join();
    if (thrown) std::rethrow_exception(thrown);
    return std::move(*result);
}

// The automation error `work` raised, or nothing when it returned.
template <class Work>
std::optional<AutomationError> RaisedBy(Work&& work) {
    try {
        std::forward<Work>(work)();
    } catch (const AutomationError& error) {
        return error;
    }
    return std::nullopt;
}

// The real file system, except for the calls a test makes fail.
class FailingFileSystem : public FileSystem {
public:
    bool failFolderExists = false;
    bool failDeleteFile = false;
    mutable int folderQueries = 0;

    bool FileExists(const std::wstring& path) const override { return real_->FileExists(path); }
    bool FolderExists(const std::wstring& path) const override {
        ++folderQueries;
        if (failFolderExists) RaiseRuntimeError(kErrPermissionDenied);
        return real_->FolderExists(path);
    }
    std::wstring GetFileName(const std::wstring& path) const override {
        return real_->GetFileName(path);
    }
    std::wstring GetBaseName(const std::wstring& path) const override {
        return real_->GetBaseName(path);
    }
    std::wstring GetExtensionName(const std::wstring& path) const override {
        return real_->GetExtensionName(path);
    }
    void DeleteFile(const std::wstring& path, bool force) override {
        if (failDeleteFile) RaiseRuntimeError(kErrPathFileAccess);
        real_->DeleteFile(path, force);
    }

private:
    std::shared_ptr<FileSystem> real_ = DefaultFileSystem();
};

}  // namespace orv::test
