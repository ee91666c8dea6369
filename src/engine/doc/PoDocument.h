#pragma once
// Gettext PO files: the msgid of each entry, and its msgid_plural, each a block whose lines
// are segments of their own. Continued strings are joined and their C escapes decoded; the
// header entry (empty msgid) and obsolete entries ("#~") are left out, as are contexts and
// translations.
//
// Placeholders are standalone codes, as a translator must keep them: printf conversions
// ("%s", "%1$s", "%-5.2f", "%(name)s"), numbered ones ("%1") and braced ones ("{name}",
// "{0}", "{0:N2}"); "%%", "{{" and "}}" stay text. An entry flagged "no-...-format" (as in
// "#, no-c-format") has none.
//
// The encoding is chosen as DocumentEncoding.h says, with the charset of the header's
// Content-Type as the document's own ("CHARSET", a template's, is none); `givenEncoding`
// (empty: none) is the user's.

#include <string_view>

#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Throws an engine error, in words without digits, when a line is not PO or the header
// names a character set that is not known.
DocumentText ReadPoBytes(std::string_view bytes, const std::string& givenEncoding = "");

}  // namespace orv::engine
