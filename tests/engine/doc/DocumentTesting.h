#pragma once
// Documents for the reader tests: read from bytes, and their blocks written back as text.

#include <functional>
#include <string>
#include <vector>

#include "engine/formats/Document.h"

namespace orv::engine::test {

using Lines = std::vector<std::wstring>;

// The text with each code written back as its content.
std::wstring Render(const Segment& segment);

// Each block, rendered.
Lines Blocks(const DocumentText& document);

// The codes' kinds and pair ids: "B1 E1 S I" (Begin 1, End 1, Standalone, Isolated).
std::string Codes(const Segment& segment);

// The codes of each block.
std::vector<std::string> BlockCodes(const DocumentText& document);

inline DocumentText Read(const std::string& bytes, DocumentFormat format,
                         const DocumentSettings& settings = {}) {
    return ReadDocumentBytes(bytes, format, settings);
}

// Settings whose HTML and SGML rules are both `text`, a settings file's content.
DocumentSettings SettingsOf(const std::wstring& text);

// The description of the engine error that `work` raises, or "no error".
std::wstring FailureOf(const std::function<void()>& work);

}  // namespace orv::engine::test
