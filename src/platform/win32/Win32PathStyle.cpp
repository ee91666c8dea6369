#include "platform/PathSyntax.h"

namespace orv {

PathStyle NativePathStyle() {
    return PathStyle::Windows;
}

}  // namespace orv
