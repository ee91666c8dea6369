#pragma once
// The ordered, one-based collection of document records, each optionally reachable by a
// key. Keys are unique and compare without regard to letter case (FoldCase). Failures are
// the usual collection errors: 457 for a duplicate key, 9 for a position out of range, 5 for
// a key that is not present.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "results/clsBAFileInfo.h"

namespace orv {

class Files {
public:
    using Record = std::shared_ptr<clsBAFileInfo>;

    // Appends a fresh record for the path, under `strKey` when it is not empty.
    Record Add(const std::wstring& strFilePath, const std::wstring& strKey = L"");

    // By position, 1 to Count.
    Record Item(int32_t index) const;
    // By key, in any letter case.
    Record Item(const std::wstring& key) const;

    int32_t Count() const { return static_cast<int32_t>(records_.size()); }

    // The records after the removed one move up one position.
    void Remove(int32_t index);
    void Remove(const std::wstring& key);

    // The records in position order, first added first; a snapshot, so that a loop may
    // remove records from the collection.
    std::vector<Record> NewEnum() const { return records_; }

    auto begin() const { return records_.cbegin(); }
    auto end() const { return records_.cend(); }

private:
    std::size_t PositionOf(int32_t index) const;
    const Record& RecordOf(const std::wstring& key) const;

    std::vector<Record> records_;
    // Folded key -> the record it names; records added without a key are not in it.
    std::unordered_map<std::wstring, Record> byKey_;
};

}  // namespace orv
