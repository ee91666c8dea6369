#pragma once
// XLIFF documents, 1.2 (and the older 1.x) and 2.x, told apart by the root's namespace or
// version: the source text of each unit that is to be translated (translate="no" on a file,
// group or unit leaves it out), with its inline codes. The file's header (tool, notes,
// skeleton, phases) and a 1.x unit made of a PO header (restype "x-gettext-domain-header")
// are metadata and never read.
// The codes:
// - 1.x: g is a Begin and an End around its content, x and ph standalone codes, bx and bpt
//   Begins, ex and ept Ends (paired by rid, or id without one), it an isolated code; the
//   content of bpt, ept, ph and it is the code's text, that of the others their tag.
// - 2.x: pc is a Begin and an End around its content, ph a standalone code, sc a Begin and ec
//   an End (paired by id and startRef; isolated="yes" makes either an isolated code); each
//   code's content is its original data when it refers to some, its tag otherwise.
// mrk marks an annotation, not formatting: its text is read as if it were not there, except
// that protected text (1.x mtype="protected", 2.x translate="no") is one standalone code.
//
// A 1.x source is a block that the segmenter splits, unless the unit's seg-source holds
// segments (mrk mtype="seg"): those are taken, each already a segment. Each source of a 2.x
// segment is already a segment. Tagging errors are counted unit by unit.

#include <string_view>

#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Throws an engine error, in words without digits, when the bytes are not well-formed XML
// or not an XLIFF document. The encoding is chosen as DocumentEncoding.h says, with the XML
// declaration as the document's own; `givenEncoding` (empty: none) is the user's.
DocumentText ReadXliffBytes(std::string_view bytes, const std::string& givenEncoding = "");

}  // namespace orv::engine
