#pragma once
// Small steps that every OpenDocument reader takes over its XmlPartReader.

#include "engine/model/EngineError.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine::odf {

// Whether the current node ends the element that started at `depth`.
inline bool IsEndOf(const XmlPartReader& reader, int depth) {
    return reader.Type() == XML_READER_TYPE_END_ELEMENT && reader.Depth() == depth;
}

// The part ended inside an element: the reader gives no end without a start otherwise.
[[noreturn]] inline void RaiseNotWellFormed() {
    RaiseEngineError(L"A part of the document is not well-formed XML");
}

}  // namespace orv::engine::odf
