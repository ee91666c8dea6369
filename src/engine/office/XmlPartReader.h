#pragma once
// A part of a package read as a stream of XML nodes, without building its tree: the main
// part of a large document or a sheet of a large workbook is read in a fraction of the memory
// its tree would take. Nothing outside the part is read: no DTD, no external entity, and an
// entity reference stays a node of its own that the readers pass over.

#include <libxml/xmlreader.h>

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/office/ZipArchive.h"

namespace orv::engine {

class XmlPartReader {
public:
    explicit XmlPartReader(ZipArchive::Entry entry);
    // The XML held in `bytes`, which must outlive the reader (a flat document's one file).
    explicit XmlPartReader(std::string_view bytes);
    ~XmlPartReader();
    XmlPartReader(const XmlPartReader&) = delete;
    XmlPartReader& operator=(const XmlPartReader&) = delete;

    // Moves to the next node; false at the end of the part. Throws an engine error when the
    // part is not well-formed XML or its zip entry is damaged.
    bool Next();

    // Of the current node: its type (XML_READER_TYPE_ELEMENT, _END_ELEMENT, _TEXT,
    // _SIGNIFICANT_WHITESPACE, ...), its local name and namespace, whether an element is
    // empty (<a/>, which gets no end node), its depth, the value of a text node.
    int Type() const;
    std::string_view LocalName() const;
    std::string_view Namespace() const;
    bool IsEmptyElement() const;
    int Depth() const;
    std::string_view Value() const;
    // The attribute `localName` in namespace `ns` ("" for none) of the current element;
    // empty when it has none.
    std::string Attribute(std::string_view localName, std::string_view ns = "") const;
    bool HasAttribute(std::string_view localName, std::string_view ns = "") const;

    // Whether the current node is the element `localName` in namespace `ns`, starting.
    bool IsStart(std::string_view ns, std::string_view localName) const;
    bool IsEnd(std::string_view ns, std::string_view localName) const;
    // Passes over the current element and everything inside it: after it, the current node is
    // its end (or the element itself when it is empty).
    void Skip();

private:
    xmlChar* GetAttribute(std::string_view localName, std::string_view ns) const;
    static int ReadInput(void* context, char* buffer, int size);

    std::optional<ZipArchive::Entry> entry_;  // none when the XML is read from memory
    std::exception_ptr failure_;  // raised while libxml2 was reading, raised again after
    xmlTextReaderPtr reader_ = nullptr;
};

}  // namespace orv::engine
