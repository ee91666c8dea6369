#include "cli/LogInUseLock.h"

#include <optional>
#include <utility>

#include "engine/system/FileFailure.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

using engine::FileFailure;
using engine::FileProblem;
using engine::SystemFile;

// The lock file, opened or made; nothing when neither can be done.
std::optional<SystemFile> OpenOrCreate(const std::wstring& name) {
    for (;;) {
        try {
            return SystemFile::OpenToLock(name, true);
        } catch (const FileFailure& failure) {
            if (failure.problem() != FileProblem::NotFound) return std::nullopt;
        }
        try {
            return SystemFile::CreateNew(name);
        } catch (const FileFailure& failure) {
            // Another run made it in between: open that one.
            if (failure.problem() != FileProblem::AlreadyExists) return std::nullopt;
        }
    }
}

// Whether the open file is still the file that `name` names: the owner before may have
// removed it between our open and our lock, and a lock on a removed file guards nothing.
bool StillNamed(const SystemFile& file, const std::wstring& name) {
    const std::optional<engine::FileStatus> named = engine::StatusOfPath(name);
    return named && named->node == file.Status().node;
}

}  // namespace

LogInUseLock::LogInUseLock(LogInUseLock&& other) noexcept
    : file_(std::move(other.file_)), name_(std::move(other.name_)) {}

LogInUseLock& LogInUseLock::operator=(LogInUseLock&& other) noexcept {
    if (this != &other) {
        Release();
        file_ = std::move(other.file_);
        name_ = std::move(other.name_);
    }
    return *this;
}

void LogInUseLock::Release() noexcept {
    if (!file_.IsOpen()) return;
    // Removed while still locked, so that no run leaves it behind: a run that opened it a
    // moment before and locks it once we close finds it no longer named and starts again.
    engine::RemoveFileQuietly(name_);
    file_ = SystemFile();
}

LogInUseLock::Outcome LogInUseLock::Take(const std::string& logPath, LogInUseLock& lock) {
    lock.Release();
    const std::wstring name = FromNarrow(logPath + ".lock");
    for (;;) {
        std::optional<SystemFile> file = OpenOrCreate(name);
        if (!file) return Outcome::Unavailable;
        switch (file->TryLock(SystemFile::LockKind::Exclusive)) {
            case SystemFile::LockResult::Held:
                break;
            case SystemFile::LockResult::InUse:
                return Outcome::InUse;
            case SystemFile::LockResult::Unsupported:
                return Outcome::Unavailable;
        }
        try {
            if (!StillNamed(*file, name)) continue;
        } catch (const FileFailure&) {
            return Outcome::Unavailable;  // the open file cannot be looked at
        }
        LogInUseLock taken;
        taken.file_ = std::move(*file);
        taken.name_ = name;
        lock = std::move(taken);
        return Outcome::Held;
    }
}

}  // namespace orv::cli
