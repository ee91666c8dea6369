#include "platform/PathSyntax.h"

namespace orv {

PathStyle NativePathStyle() {
    return PathStyle::Posix;
}

}  // namespace orv
