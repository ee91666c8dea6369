#pragma once
// Reading a document of any kind the engine knows, chosen by the file's extension (in any
// case): .htm, .html and .xhtml are HTML; .xml, .sgm and .sgml are XML or SGML; .xlf and
// .xliff are XLIFF; .po and .pot are gettext PO; anything else is plain text, one block.

#include <string>
#include <string_view>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"

namespace orv::engine {

enum class DocumentFormat { PlainText, Html, Xml, Xliff, Po };

DocumentFormat FormatOfDocument(const std::wstring& path);

// The blocks of the document at `path` and its tagging errors. Throws an engine error when
// the file cannot be read or is not what its extension says, with the reason in words: no
// path, no digits and no ";" in it.
DocumentText ReadDocument(const std::wstring& path, const DocumentSettings& settings);

// The same for the bytes of a document in memory.
DocumentText ReadDocumentBytes(std::string_view bytes, DocumentFormat format,
                               const DocumentSettings& settings);

}  // namespace orv::engine
