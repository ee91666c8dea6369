#include "engine/xml/ThreadErrorsRedirected.h"

#include <libxml/globals.h>

namespace orv::engine::libxml {
namespace {

void IgnoreStructured(void*, xmlErrorPtr) {}

// The few messages that only come this way ("xmlParseChunk: encoder error") repeat one the
// structured handler already has.
void IgnoreGeneric(void*, const char*, ...) {}

}  // namespace

ThreadErrorsRedirected::ThreadErrorsRedirected(void* context, xmlStructuredErrorFunc handler)
    : structured_(xmlStructuredError),
      structuredContext_(xmlStructuredErrorContext),
      generic_(xmlGenericError),
      genericContext_(xmlGenericErrorContext) {
    xmlSetStructuredErrorFunc(context, handler ? handler : &IgnoreStructured);
    xmlSetGenericErrorFunc(nullptr, &IgnoreGeneric);
}

ThreadErrorsRedirected::~ThreadErrorsRedirected() {
    xmlSetStructuredErrorFunc(structuredContext_, structured_);
    xmlSetGenericErrorFunc(genericContext_, generic_);
}

}  // namespace orv::engine::libxml
