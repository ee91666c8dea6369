#pragma once
// How a long load (a TM read from its file, a match index built) learns that it should end
// early: a check it calls now and then, which gives true once it should. The load then
// throws LoadCancelled and leaves nothing half made behind; whoever passed the check acts
// on the request (the analysis: the cancel request to its EngineControl).

#include <functional>

namespace orv::engine {

// Called from the loading threads, possibly from several at once; empty: never stop.
using StopCheck = std::function<bool()>;

// Thrown by a load whose StopCheck gave true.
struct LoadCancelled {};

}  // namespace orv::engine
