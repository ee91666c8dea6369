#include "support/TestDoublesDll.h"

namespace orv::test {

LoadedServerDll& TestDoublesDll::Get() {
    static LoadedServerDll* dll = new LoadedServerDll(ORV_TEST_DOUBLES_DLL);
    return *dll;
}

}  // namespace orv::test
