#pragma once
// One document of a batch: its path, the key it was added under, two status flags and the
// statistics the analysis found for it. Records are shared: the collection and every caller
// that obtained a record hold the same object.

#include <array>
#include <cstdint>
#include <string>

#include "results/StatisticsFields.h"

namespace orv {

class Files;

class clsBAFileInfo {
public:
    clsBAFileInfo() = default;

    // Statistics: plain stored values, no validation, no side effect.
    int32_t Get(CountField field) const { return counts_[static_cast<std::size_t>(field)]; }
    void Set(CountField field, int32_t value) { counts_[static_cast<std::size_t>(field)] = value; }

#define ORV_ACCESSORS(name)           \
    int32_t get_##name() const {      \
        return Get(CountField::name); \
    }                                 \
    void put_##name(int32_t vData) {  \
        Set(CountField::name, vData); \
    }
    ORV_COUNT_FIELDS(ORV_ACCESSORS)
#undef ORV_ACCESSORS

    double get_CharsPerWord() const {
        return charsPerWord_;
    }
    void put_CharsPerWord(double vData) {
        charsPerWord_ = vData;
    }

    // Setting False clears the statistics; setting True changes nothing else.
    bool get_FileProcessed() const {
        return fileProcessed_;
    }
    void put_FileProcessed(bool vData);

    // Setting True clears the statistics (and so FileProcessed); setting False changes
    // nothing else.
    bool get_ProcessingError() const {
        return processingError_;
    }
    void put_ProcessingError(bool vData);

    // Setting the path always yields a fresh, unprocessed record.
    const std::wstring& get_FilePath() const {
        return filePath_;
    }
    void put_FilePath(const std::wstring& vData);

    // Only Files::Add sets the key.
    const std::wstring& get_Key() const {
        return key_;
    }

private:
    friend class Files;
    void put_Key(const std::wstring& vData) {
        key_ = vData;
    }

    void ClearStatistics();

    std::array<int32_t, kCountFieldCount> counts_{};
    double charsPerWord_ = 0.0;
    bool fileProcessed_ = false;
    bool processingError_ = false;
    std::wstring filePath_;
    std::wstring key_;
};

}  // namespace orv
