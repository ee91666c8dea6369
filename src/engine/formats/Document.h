#pragma once
// Reading a document of any kind the engine knows, chosen by the file's extension (in any
// case): .htm, .html and .xhtml are HTML; .xml, .sgm and .sgml are XML or SGML; .xlf and
// .xliff are XLIFF; .po and .pot are gettext PO; .docx, .docm, .dotx and .dotm are Word,
// .xlsx, .xlsm, .xltx and .xltm Excel, .pptx, .pptm, .ppsx, .ppsm, .potx and .potm
// PowerPoint (Office Open XML); .odt, .ott, .ods, .ots, .odp and .otp OpenDocument, .fodt,
// .fods and .fodp its flat XML form; anything else is plain text, one block. The binary
// Office formats (.doc, .dot, .xls, .xlt, .ppt, .pps, .pot) and RTF are refused with what to
// do instead.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"
#include "engine/model/LoadCancelled.h"

namespace orv::engine {

enum class DocumentFormat {
    PlainText,
    Html,
    Xml,
    Xliff,
    Po,
    Word,
    Excel,
    PowerPoint,
    OpenDocument,
    FlatOpenDocument,
    BinaryOffice,
    Rtf,
};

DocumentFormat FormatOfDocument(const std::wstring& path);

// The format that the extension of `path` names (.txt and .text name plain text), or none for
// an extension the engine does not know, which FormatOfDocument reads as plain text. The
// refused formats are known: a folder of documents to quote should show them as failures, not
// leave them out of the count unseen.
std::optional<DocumentFormat> KnownFormatOfDocument(const std::wstring& path);

// Every extension KnownFormatOfDocument knows, in lower case and without the dot, in the
// order of its table ("txt", "text", "htm", ...).
std::vector<std::wstring> KnownDocumentExtensions();

// The blocks of the document at `path` and its tagging errors. Throws an engine error when
// the file cannot be read or is not what its extension says, with the reason in words: no
// path, no digits and no ";" in it. `stop` may end the reading of the file early, with an
// error (ReadDocumentFileBytes).
DocumentText ReadDocument(const std::wstring& path, const DocumentSettings& settings,
                          const StopCheck& stop = {});

// The same for the bytes of a document in memory.
DocumentText ReadDocumentBytes(std::string_view bytes, DocumentFormat format,
                               const DocumentSettings& settings);

}  // namespace orv::engine
