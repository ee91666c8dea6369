#include "engine/tm/TmxBlockReader.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "engine/tm/TmxReader.h"

namespace orv::engine {

namespace {

constexpr std::size_t kBlocksAhead = 2;

// Thrown on the reading thread to end the reading once the caller has stopped taking blocks.
struct Abandoned {};

struct Handover {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::vector<TranslationUnit>> ready;
    bool done = false;       // the reading has ended
    bool abandoned = false;  // the caller takes no more
    std::exception_ptr error;
    TranslationMemory rest;  // all but the units
};

void Read(const std::wstring& path, std::size_t blockSize, const StopCheck& stop,
          Handover& handover) {
    std::vector<TranslationUnit> block;
    try {
        const auto hand = [&] {
            std::unique_lock<std::mutex> lock(handover.mutex);
            handover.changed.wait(
                lock, [&] { return handover.ready.size() < kBlocksAhead || handover.abandoned; });
            if (handover.abandoned) throw Abandoned{};
            handover.ready.push_back(std::exchange(block, {}));
            handover.changed.notify_all();
        };
        TranslationMemory rest = ReadTmxFileUnits(
            path,
            [&](TranslationUnit&& unit) {
                if (block.empty()) block.reserve(blockSize);
                block.push_back(std::move(unit));
                if (block.size() >= blockSize) hand();
            },
            stop);
        if (!block.empty()) hand();
        const std::lock_guard<std::mutex> lock(handover.mutex);
        handover.rest = std::move(rest);
    } catch (const Abandoned&) {
    } catch (...) {
        // The units read before the fault go first, as the reading hands them over.
        const std::lock_guard<std::mutex> lock(handover.mutex);
        if (!block.empty()) handover.ready.push_back(std::move(block));
        handover.error = std::current_exception();
    }
    const std::lock_guard<std::mutex> lock(handover.mutex);
    handover.done = true;
    handover.changed.notify_all();
}

// The same on this thread alone, where no other can be had.
TranslationMemory ReadHere(const std::wstring& path, std::size_t blockSize,
                           const TmxBlockSink& onBlock, const StopCheck& stop) {
    std::vector<TranslationUnit> block;
    bool reading = true;
    try {
        TranslationMemory rest = ReadTmxFileUnits(
            path,
            [&](TranslationUnit&& unit) {
                block.push_back(std::move(unit));
                if (block.size() < blockSize) return;
                reading = false;
                onBlock(block);
                reading = true;
                block.clear();
            },
            stop);
        reading = false;
        if (!block.empty()) onBlock(block);
        return rest;
    } catch (...) {
        if (reading && !block.empty()) onBlock(block);  // the units before a fault go first
        throw;
    }
}

}  // namespace

TranslationMemory ReadTmxFileInBlocks(const std::wstring& path, std::size_t blockSize,
                                      const TmxBlockSink& onBlock, const StopCheck& stop) {
    if (blockSize == 0) blockSize = 1;
    Handover handover;
    std::thread reader;
    try {
        reader = std::thread(Read, std::cref(path), blockSize, std::cref(stop), std::ref(handover));
    } catch (const std::system_error&) {
        return ReadHere(path, blockSize, onBlock, stop);
    }
    try {
        for (;;) {
            std::vector<TranslationUnit> block;
            {
                std::unique_lock<std::mutex> lock(handover.mutex);
                handover.changed.wait(lock,
                                      [&] { return !handover.ready.empty() || handover.done; });
                if (handover.ready.empty()) break;
                block = std::move(handover.ready.front());
                handover.ready.pop_front();
                handover.changed.notify_all();
            }
            onBlock(block);
        }
    } catch (...) {
        {
            const std::lock_guard<std::mutex> lock(handover.mutex);
            handover.abandoned = true;
            handover.changed.notify_all();
        }
        reader.join();
        throw;
    }
    reader.join();
    if (handover.error) std::rethrow_exception(handover.error);
    return std::move(handover.rest);
}

}  // namespace orv::engine
