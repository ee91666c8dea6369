#pragma once
// Reads the CSV log file that the analysis writes beside its log into the document records
// of a batch, and keeps the accepted lines as text with and without the two header lines.
// One parser serves one analysis run; it is used on the caller's thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "results/Files.h"

namespace orv {

class clsLogFileParser {
public:
    // Services left empty are taken from the defaults on first use.
    explicit clsLogFileParser(std::shared_ptr<Platform> platform = nullptr,
                              std::shared_ptr<FileSystem> fileSystem = nullptr);

    // Setting the log file name derives the name of the CSV log file beside it.
    const std::wstring& get_LogFileName() const { return logFileName_; }
    void put_LogFileName(const std::wstring& vData);

    // Fills the records of the collection from the CSV log file. Raises 40005 when the
    // file name is empty or names no file; a file that cannot be read raises 52, 53, 70 or 75; a
    // value that does not convert raises 13 or 6 and leaves the records filled so far (and
    // the one being filled, up to the failing field) as they are. A data row without
    // tagging-errors and chars/word values, or naming no record, ends the parse quietly.
    void ParseLogFile(Files& objBAFileInfoCollection);

    // The raw log is not offered: always "not implemented".
    std::wstring GetLogFileContent() const;
    // The two header lines and the accepted data rows, joined by CR LF; set only when a
    // parse went through the whole file.
    const std::wstring& GetCsvLogFileContent() const { return csvLogFileContent_; }
    // The accepted data rows, joined by CR LF; grows with every parse on this parser.
    const std::wstring& GetCsvLogFileContentWithoutHeader() const { return csvWithoutHeader_; }

private:
    // Column key -> one-based column number.
    using ColumnIndex = std::unordered_map<std::wstring, std::size_t>;
    // One data row's fields; position k (one-based) is element k - 1.
    using RowValues = std::vector<std::wstring>;

    // Lets the fuzz target feed bytes without a file.
    friend struct clsLogFileParserFuzzAccess;

    // The file's lines (SplitLogLines); errors of the file-system service pass unchanged.
    std::vector<std::wstring> ReadLogLines(const std::wstring& strFileName);
    // The lines of a file's bytes: a line ends at CR LF or a lone LF, and each is trimmed of
    // spaces. A break at the very end starts no further line.
    static std::vector<std::wstring> SplitLogLines(const std::string& bytes);
    void ParseLogLines(const std::vector<std::wstring>& lines, Files& collection);

    static ColumnIndex GetColumnIndex(const std::wstring& line1, const std::wstring& line2);
    static const std::wstring& GetColumnValue(const RowValues& rowValues,
                                              const ColumnIndex& columnIndex,
                                              const std::wstring& key);

    void FillFileInfo(const ColumnIndex& columnIndex, const RowValues& rowValues,
                      clsBAFileInfo& fileInfo);
    void SetSegmentsFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                           clsBAFileInfo& fileInfo);
    void SetWordsFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                        clsBAFileInfo& fileInfo);
    void SetPlaceablesFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                             clsBAFileInfo& fileInfo);
    void SetPercentFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                          clsBAFileInfo& fileInfo);
    // One measure of the eight bands, in the order the log lists the bands.
    void SetBandFields(const ColumnIndex& columnIndex, const RowValues& rowValues,
                       clsBAFileInfo& fileInfo, Measure measure);
    // The count rule on a column; a missing column gives -1.
    int32_t CountValue(const ColumnIndex& columnIndex, const RowValues& rowValues,
                       const std::wstring& key);

    // "." replaced by the locale's decimal separator, so that the log's decimal point reads
    // the same in every locale.
    std::wstring LocalizeDecimalPoint(const std::wstring& value);

    Platform& platform();
    FileSystem& fileSystem();

    std::shared_ptr<Platform> platform_;
    std::shared_ptr<FileSystem> fileSystem_;
    std::wstring logFileName_;
    std::wstring csvLogFileName_;
    std::wstring decimalSeparator_;  // empty until first needed
    std::wstring csvLogFileContent_;
    std::wstring csvWithoutHeader_;
};

}  // namespace orv
