#include "engine/tm/TmxUserList.h"

#include <libxml/tree.h>

#include <memory>

#include "engine/model/EngineError.h"
#include "engine/text/Utf8.h"
#include "engine/tm/TmUsers.h"
#include "engine/xml/Libxml.h"

namespace orv::engine {
namespace {

using libxml::View;

const xmlChar* Xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

xmlNodePtr FirstElement(xmlNodePtr node, std::string_view name) {
    for (; node != nullptr; node = node->next)
        if (node->type == XML_ELEMENT_NODE && View(node->name) == name) return node;
    return nullptr;
}

bool IsUserEntry(xmlNodePtr node) {
    return node->type == XML_ELEMENT_NODE && View(node->name) == "prop" &&
           libxml::Attribute(node, "type") == kTmxUserProperty;
}

bool IsBlank(xmlNodePtr node) {
    if (node == nullptr || node->type != XML_TEXT_NODE) return false;
    for (char c : View(node->content))
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
    return true;
}

void Unlink(xmlNodePtr node) {
    xmlUnlinkNode(node);
    xmlFreeNode(node);
}

// Removes the header's user entries, each with the indentation before it.
void RemoveUsers(xmlNodePtr header) {
    for (xmlNodePtr child = header->children; child != nullptr;) {
        xmlNodePtr next = child->next;
        if (IsUserEntry(child)) {
            if (IsBlank(child->prev)) Unlink(child->prev);
            Unlink(child);
        }
        child = next;
    }
}

// Adds the entries after the header's last element, indented as the engine writes them.
void AddUsers(xmlNodePtr header, const std::vector<TmUser>& users) {
    if (users.empty()) return;
    xmlNodePtr closing = header->last;
    if (closing == nullptr || !IsBlank(closing)) {
        closing = xmlNewText(Xml("\n  "));
        xmlAddChild(header, closing);
    }
    for (const TmUser& user : users) {
        const std::string entry = ToUtf8(user.name) + ":" + user.passwordHash;
        xmlNodePtr prop = xmlNewNode(nullptr, Xml("prop"));
        xmlSetProp(prop, Xml("type"), Xml(kTmxUserProperty));
        // xmlNewText leaves escaping to the serialiser, so a name with "&" or "<" stays text.
        xmlAddChild(prop, xmlNewText(Xml(entry.c_str())));
        // The entry first: libxml2 merges a text node added next to another text node.
        xmlAddPrevSibling(closing, prop);
        xmlAddPrevSibling(prop, xmlNewText(Xml("\n    ")));
    }
}

struct FreeXml {
    void operator()(xmlChar* text) const noexcept { xmlFree(text); }
};

}  // namespace

std::string TmxTextWithUsers(std::string_view tmx, const std::vector<TmUser>& users,
                             const std::wstring& path) {
    const libxml::ParsedXml parsed = libxml::ParseXml(tmx, false);
    if (!parsed.document || !parsed.wellFormed)
        RaiseEngineError(L"Cannot change the users of " + path + L": it is not well-formed XML");
    xmlNodePtr root = xmlDocGetRootElement(parsed.document.get());
    xmlNodePtr header = root ? FirstElement(root->children, "header") : nullptr;
    if (root == nullptr || View(root->name) != "tmx" || header == nullptr)
        RaiseEngineError(L"Cannot change the users of " + path + L": it has no TMX header");

    RemoveUsers(header);
    AddUsers(header, users);

    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(parsed.document.get(), &text, &size, "UTF-8");
    const std::unique_ptr<xmlChar, FreeXml> owned(text);
    if (text == nullptr || size < 0) throw std::bad_alloc();
    return std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
}

}  // namespace orv::engine
