#pragma once
// What the objects an application hands out (its TM, its option groups) know of it: whether
// it still runs, and the application itself for raising its events. Shared by the
// application and its children; the application clears it when it quits or goes, so a child
// a client still holds then answers as a child of a vanished server does.

namespace orv::testdoubles {

class TesseraApplicationDouble;

struct ApplicationLink {
    TesseraApplicationDouble* application = nullptr;
    bool quit = false;

    bool connected() const noexcept { return application && !quit; }
};

}  // namespace orv::testdoubles
