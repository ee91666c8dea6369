#include "engine/doc/UnreadEntities.h"

#include <optional>

#include "engine/text/Utf8.h"
#include "engine/xml/Libxml.h"

namespace orv::engine {

std::string UnreadEntities::TextOf(xmlNodePtr reference) {
    const auto* entity = reinterpret_cast<const xmlEntity*>(reference->children);
    if (!entity) return Undeclared(libxml::View(reference->name));
    if (entity->etype == XML_INTERNAL_GENERAL_ENTITY)
        return std::string(libxml::View(entity->content));
    External(libxml::View(reference->name));
    return {};
}

std::string UnreadEntities::Undeclared(std::string_view name) {
    const std::optional<std::string> html = libxml::HtmlEntityText(name);
    if (FirstTime(name)) {
        notes_.push_back(L"The entity &" + FromUtf8(name) +
                         L"; is not declared in the file (its DTD is not read); it was counted " +
                         (html ? L"as the HTML character of that name." : L"as empty."));
    }
    return html.value_or("");
}

void UnreadEntities::External(std::string_view name) {
    if (FirstTime(name)) {
        notes_.push_back(L"The external entity &" + FromUtf8(name) +
                         L"; is not read; it was counted as empty.");
    }
}

}  // namespace orv::engine
