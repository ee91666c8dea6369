#include "platform/StdFileSystem.h"
#include "platform/win32/Win32Platform.h"

namespace orv {

std::shared_ptr<Platform> DefaultPlatform() {
    static const std::shared_ptr<Platform> platform = std::make_shared<Win32Platform>();
    return platform;
}

std::shared_ptr<FileSystem> DefaultFileSystem() {
    static const std::shared_ptr<FileSystem> fileSystem = std::make_shared<StdFileSystem>();
    return fileSystem;
}

}  // namespace orv
