#pragma once
// The three kinds of service an object of the component may be handed: the platform, the
// file system and the object services. A service left empty is taken from the defaults the
// first time it is needed, so a client that passes nothing gets the running system.

#include <memory>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "tessera/ObjectServices.h"

namespace orv {

class ServiceSet {
public:
    ServiceSet() = default;
    ServiceSet(std::shared_ptr<Platform> platform, std::shared_ptr<FileSystem> fileSystem,
               std::shared_ptr<ObjectServices> objects)
        : platform_(std::move(platform)),
          fileSystem_(std::move(fileSystem)),
          objects_(std::move(objects)) {}

    const std::shared_ptr<Platform>& platform() {
        if (!platform_) platform_ = DefaultPlatform();
        return platform_;
    }
    const std::shared_ptr<FileSystem>& fileSystem() {
        if (!fileSystem_) fileSystem_ = DefaultFileSystem();
        return fileSystem_;
    }
    const std::shared_ptr<ObjectServices>& objects() {
        if (!objects_) objects_ = DefaultObjectServices();
        return objects_;
    }

private:
    std::shared_ptr<Platform> platform_;
    std::shared_ptr<FileSystem> fileSystem_;
    std::shared_ptr<ObjectServices> objects_;
};

}  // namespace orv
