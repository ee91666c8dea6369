#pragma once
// libxml2 reports some faults (of the encoding conversion, for one) to the thread's own error
// handlers rather than to a parser's, and from there prints them to stderr whatever the parse
// options say. While one of the engine's parses runs they go to the handler it names instead,
// and the thread's handlers are put back when it ends.

#include <libxml/xmlerror.h>

namespace orv::engine::libxml {

class ThreadErrorsRedirected {
public:
    // `handler` nullptr: the faults go nowhere.
    ThreadErrorsRedirected(void* context, xmlStructuredErrorFunc handler);
    ~ThreadErrorsRedirected();
    ThreadErrorsRedirected(const ThreadErrorsRedirected&) = delete;
    ThreadErrorsRedirected& operator=(const ThreadErrorsRedirected&) = delete;

private:
    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
    xmlGenericErrorFunc generic_;
    void* genericContext_;
};

}  // namespace orv::engine::libxml
