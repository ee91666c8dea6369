#include "engine/formats/Document.h"

#include <memory>
#include <new>
#include <optional>

#include "engine/doc/BlockBuilder.h"
#include "engine/doc/MarkupDocument.h"
#include "engine/doc/PoDocument.h"
#include "engine/doc/XliffDocument.h"
#include "engine/model/EngineError.h"
#include "engine/office/ExcelWorkbook.h"
#include "engine/office/OpenDocument.h"
#include "engine/office/PowerPointDocument.h"
#include "engine/office/WordDocument.h"
#include "engine/text/PlainTextDocument.h"
#include "platform/NarrowText.h"

namespace orv::engine {
namespace {

DocumentText PlainText(const DecodedText& text) {
    BlockBuilder block;
    block.Append(text.text, BlockBuilder::Spaces::Keep);
    DocumentText document;
    if (block.HasText()) document.blocks.push_back({block.Take(), false});
    document.encoding = text.encoding;
    return document;
}

struct Named {
    const wchar_t* extension;
    DocumentFormat format;
};
// ".pot" is both a gettext template and a binary PowerPoint template; gettext's is what
// a batch of software strings holds, and it is text, where the other is refused anyway.
static constexpr Named kNamed[] = {
    {L"txt", DocumentFormat::PlainText},
    {L"text", DocumentFormat::PlainText},
    {L"htm", DocumentFormat::Html},
    {L"html", DocumentFormat::Html},
    {L"xhtml", DocumentFormat::Html},
    {L"xml", DocumentFormat::Xml},
    {L"sgm", DocumentFormat::Xml},
    {L"sgml", DocumentFormat::Xml},
    {L"xlf", DocumentFormat::Xliff},
    {L"xliff", DocumentFormat::Xliff},
    {L"po", DocumentFormat::Po},
    {L"pot", DocumentFormat::Po},
    {L"docx", DocumentFormat::Word},
    {L"docm", DocumentFormat::Word},
    {L"dotx", DocumentFormat::Word},
    {L"dotm", DocumentFormat::Word},
    {L"xlsx", DocumentFormat::Excel},
    {L"xlsm", DocumentFormat::Excel},
    {L"xltx", DocumentFormat::Excel},
    {L"xltm", DocumentFormat::Excel},
    {L"pptx", DocumentFormat::PowerPoint},
    {L"pptm", DocumentFormat::PowerPoint},
    {L"ppsx", DocumentFormat::PowerPoint},
    {L"ppsm", DocumentFormat::PowerPoint},
    {L"potx", DocumentFormat::PowerPoint},
    {L"potm", DocumentFormat::PowerPoint},
    {L"odt", DocumentFormat::OpenDocument},
    {L"ott", DocumentFormat::OpenDocument},
    {L"ods", DocumentFormat::OpenDocument},
    {L"ots", DocumentFormat::OpenDocument},
    {L"odp", DocumentFormat::OpenDocument},
    {L"otp", DocumentFormat::OpenDocument},
    {L"fodt", DocumentFormat::FlatOpenDocument},
    {L"fods", DocumentFormat::FlatOpenDocument},
    {L"fodp", DocumentFormat::FlatOpenDocument},
    {L"doc", DocumentFormat::BinaryOffice},
    {L"dot", DocumentFormat::BinaryOffice},
    {L"xls", DocumentFormat::BinaryOffice},
    {L"xlt", DocumentFormat::BinaryOffice},
    {L"ppt", DocumentFormat::BinaryOffice},
    {L"pps", DocumentFormat::BinaryOffice},
    {L"rtf", DocumentFormat::Rtf},
};

}  // namespace

std::optional<DocumentFormat> KnownFormatOfDocument(const std::wstring& path) {
    const std::size_t name = path.find_last_of(L"/\\");
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name))
        return std::nullopt;
    std::wstring extension = path.substr(dot + 1);
    for (wchar_t& c : extension)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    for (const Named& named : kNamed)
        if (extension == named.extension) return named.format;
    return std::nullopt;
}

std::vector<std::wstring> KnownDocumentExtensions() {
    std::vector<std::wstring> extensions;
    for (const Named& named : kNamed) extensions.emplace_back(named.extension);
    return extensions;
}

DocumentFormat FormatOfDocument(const std::wstring& path) {
    return KnownFormatOfDocument(path).value_or(DocumentFormat::PlainText);
}

DocumentText ReadDocument(const std::wstring& path, const DocumentSettings& settings,
                          const StopCheck& stop) {
    const DocumentFormat format = FormatOfDocument(path);
    try {
        return ReadDocumentBytes(ReadDocumentFileBytes(path, stop), format, settings);
    } catch (const std::bad_alloc&) {
        RaiseEngineError(L"There is not enough memory to read the file");
    }
}

DocumentText ReadDocumentBytes(std::string_view bytes, DocumentFormat format,
                               const DocumentSettings& settings) {
    try {
        switch (format) {
            case DocumentFormat::Html:
                return ReadHtmlBytes(bytes, settings.html, settings.encoding);
            case DocumentFormat::Xml:
                return ReadXmlBytes(bytes, settings.sgml, settings.encoding);
            case DocumentFormat::Xliff:
                return ReadXliffBytes(bytes, settings.encoding);
            case DocumentFormat::Po:
                return ReadPoBytes(bytes, settings.encoding);
            case DocumentFormat::Word:
                return ReadWordBytes(bytes, settings);
            case DocumentFormat::Excel:
                return ReadExcelBytes(bytes);
            case DocumentFormat::PowerPoint:
                return ReadPowerPointBytes(bytes);
            case DocumentFormat::OpenDocument:
                return ReadOpenDocumentBytes(bytes, settings);
            case DocumentFormat::FlatOpenDocument:
                return ReadFlatOpenDocumentBytes(bytes, settings);
            case DocumentFormat::BinaryOffice:
                RaiseEngineError(L"binary Office format: save it as .docx/.xlsx/.pptx");
            case DocumentFormat::Rtf:
                RaiseEngineError(L"RTF is not read yet");
            case DocumentFormat::PlainText:
                break;
        }
        return PlainText(DecodeDocumentText(bytes, settings.encoding));
    } catch (const std::bad_alloc&) {
        RaiseEngineError(L"There is not enough memory to read the file");
    }
}

}  // namespace orv::engine
