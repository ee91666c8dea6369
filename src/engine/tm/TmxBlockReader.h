#pragma once
// Reads the units of a TMX file on a thread of its own and hands them to the calling thread a
// block at a time, in file order, while it reads on: the parse of a large memory, which runs
// on one processor, then goes on while the caller works on the blocks it already has.

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "engine/model/LoadCancelled.h"
#include "engine/model/TranslationMemory.h"

namespace orv::engine {

using TmxBlockSink = std::function<void(std::span<const TranslationUnit>)>;

// The units that ReadTmxFileUnits hands over, given to `onBlock` on this thread in blocks of
// `blockSize` (the last may be smaller), with at most two more read ahead. Returns what
// ReadTmxFileUnits returns. What either side throws ends both and is thrown here: the
// reading's errors after the blocks read before them, `onBlock`'s at once. `stop` is asked
// from the reading thread.
TranslationMemory ReadTmxFileInBlocks(const std::wstring& path, std::size_t blockSize,
                                      const TmxBlockSink& onBlock, const StopCheck& stop = {});

}  // namespace orv::engine
