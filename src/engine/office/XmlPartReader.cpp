#include "engine/office/XmlPartReader.h"

#include <climits>
#include <cstring>

#include "engine/model/EngineError.h"
#include "engine/xml/Libxml.h"

namespace orv::engine {
namespace {

std::string_view View(const xmlChar* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

void IgnoreErrors(void*, const char*, xmlParserSeverities, xmlTextReaderLocatorPtr) {}

}  // namespace

namespace {

constexpr int kReaderOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

}  // namespace

XmlPartReader::XmlPartReader(ZipArchive::Entry entry) : entry_(std::move(entry)) {
    libxml::Prepare();
    reader_ =
        xmlReaderForIO(&XmlPartReader::ReadInput, nullptr, this, nullptr, nullptr, kReaderOptions);
    if (!reader_) RaiseEngineError(L"There is not enough memory to read the file");
    xmlTextReaderSetErrorHandler(reader_, &IgnoreErrors, nullptr);
}

XmlPartReader::XmlPartReader(std::string_view bytes) {
    libxml::Prepare();
    // libxml2 takes the size as an int; documents are far smaller (kMaxDocumentFileBytes).
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        RaiseEngineError(L"The file is too large to be read");
    reader_ = xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                 kReaderOptions);
    if (!reader_) RaiseEngineError(L"There is not enough memory to read the file");
    xmlTextReaderSetErrorHandler(reader_, &IgnoreErrors, nullptr);
}

XmlPartReader::~XmlPartReader() {
    xmlFreeTextReader(reader_);
}

int XmlPartReader::ReadInput(void* context, char* buffer, int size) {
    auto* self = static_cast<XmlPartReader*>(context);
    if (self->failure_) return -1;
    try {
        return static_cast<int>(self->entry_->Read(buffer, static_cast<std::size_t>(size)));
    } catch (...) {
        // No exception may pass through libxml2's C frames.
        self->failure_ = std::current_exception();
        return -1;
    }
}

bool XmlPartReader::Next() {
    const int result = xmlTextReaderRead(reader_);
    if (failure_) std::rethrow_exception(failure_);
    if (result < 0) RaiseEngineError(L"A part of the document is not well-formed XML");
    return result == 1;
}

int XmlPartReader::Type() const {
    return xmlTextReaderNodeType(reader_);
}

std::string_view XmlPartReader::LocalName() const {
    return View(xmlTextReaderConstLocalName(reader_));
}

std::string_view XmlPartReader::Namespace() const {
    return View(xmlTextReaderConstNamespaceUri(reader_));
}

bool XmlPartReader::IsEmptyElement() const {
    return xmlTextReaderIsEmptyElement(reader_) == 1;
}

int XmlPartReader::Depth() const {
    return xmlTextReaderDepth(reader_);
}

std::string_view XmlPartReader::Value() const {
    return View(xmlTextReaderConstValue(reader_));
}

// Owned by the caller, to be let go with xmlFree; none when the element has no such attribute.
xmlChar* XmlPartReader::GetAttribute(std::string_view localName, std::string_view ns) const {
    const std::string name(localName), space(ns);
    const auto* xmlName = reinterpret_cast<const xmlChar*>(name.c_str());
    return ns.empty() ? xmlTextReaderGetAttribute(reader_, xmlName)
                      : xmlTextReaderGetAttributeNs(
                            reader_, xmlName, reinterpret_cast<const xmlChar*>(space.c_str()));
}

std::string XmlPartReader::Attribute(std::string_view localName, std::string_view ns) const {
    xmlChar* value = GetAttribute(localName, ns);
    if (!value) return {};
    std::string text(View(value));
    xmlFree(value);
    return text;
}

bool XmlPartReader::HasAttribute(std::string_view localName, std::string_view ns) const {
    xmlChar* value = GetAttribute(localName, ns);
    const bool has = value != nullptr;
    xmlFree(value);
    return has;
}

bool XmlPartReader::IsStart(std::string_view ns, std::string_view localName) const {
    return Type() == XML_READER_TYPE_ELEMENT && LocalName() == localName && Namespace() == ns;
}

bool XmlPartReader::IsEnd(std::string_view ns, std::string_view localName) const {
    return Type() == XML_READER_TYPE_END_ELEMENT && LocalName() == localName && Namespace() == ns;
}

void XmlPartReader::Skip() {
    if (Type() != XML_READER_TYPE_ELEMENT || IsEmptyElement()) return;
    const int depth = Depth();
    while (Next())
        if (Type() == XML_READER_TYPE_END_ELEMENT && Depth() == depth) return;
    RaiseEngineError(L"A part of the document is not well-formed XML");
}

}  // namespace orv::engine
