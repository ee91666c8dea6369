#include "engine/system/AtomicFileWriter.h"

#include <random>
#include <utility>

#include "engine/system/FileFailure.h"

namespace orv::engine {
namespace {

std::wstring TemporaryNameBeside(const std::wstring& target) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return target + L"." + std::to_wstring(random() % 1000000u) + L".tmp";
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::wstring target, Access access)
    : target_(std::move(target)) {
    if (target_.empty()) throw FileFailure(FileProblem::BadName);
    // A new name each try: never a file that someone else created under the same name.
    for (int attempt = 0;; ++attempt) {
        temporary_ = TemporaryNameBeside(target_);
        try {
            file_ = SystemFile::CreateNew(temporary_, access == Access::OwnerOnly);
            break;
        } catch (const FileFailure& failure) {
            if (failure.problem() != FileProblem::AlreadyExists || attempt == 7) throw;
        }
    }
    // A TM that only its owner could read stays so.
    if (access == Access::LikeTarget) file_.TakePermissionsOf(target_);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (committed_) return;
    file_ = SystemFile();  // closed before it is removed, which Windows requires
    RemoveFileQuietly(temporary_);
}

void AtomicFileWriter::Commit(Durability durability) {
    if (durability == Durability::Synced) file_.Sync();
    file_.Close();
    RenameReplacing(temporary_, target_);
    committed_ = true;
}

void ReplaceFileAtomically(const std::wstring& path, std::string_view bytes,
                           AtomicFileWriter::Access access) {
    AtomicFileWriter writer(path, access);
    writer.Write(bytes);
    writer.Commit();
}

}  // namespace orv::engine
