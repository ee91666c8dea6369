#pragma once
// Whether the application still runs, shared by the application object and every object it
// handed out (its TM, its option groups): after Quit they all answer as the objects of a
// server that has gone.

namespace orv::com {

struct ApplicationPresence {
    bool quit = false;
};

}  // namespace orv::com
