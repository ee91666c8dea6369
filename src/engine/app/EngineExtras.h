#pragma once
// Settings of the engine that the component does not know: a program that drives the engine in
// its own process (orvbatch, a C++ client) sets them on the control of its applications
// (EngineControl::SetExtras) before an analysis; an automation client never meets them, and no
// job file or log holds them. Each application has its own, so that two clients in one process
// never see each other's.

#include <string>

namespace orv::engine {

struct EngineExtras {
    // The encoding of a document that declares none and is not valid UTF-8, as ICU names
    // encodings ("windows-1252", "KOI8-R", "ISO-8859-2"); empty: the engine detects it.
    std::string documentEncoding;
    // An SRX 2.0 file whose rules split the documents into segments; empty: the rules built
    // into the engine.
    std::wstring segmentationRulesFile;
    // The folder of the cache that keeps TMs' match indexes from run to run (TmCache.h); empty:
    // no cache, every run reads and indexes its TM whole.
    std::wstring indexCacheFolder;
};

// Whether documents can be read in the encoding `name` (ICU's names and aliases); an analysis
// given another fails before it reads a document.
bool IsKnownDocumentEncoding(const std::string& name);

}  // namespace orv::engine
