#pragma once
// The manifest of an OpenDocument package (META-INF/manifest.xml), which says whether its
// parts are encrypted: an encrypted part is stored as plain zip data, so only the manifest
// tells it from a damaged one.

#include "engine/office/ZipArchive.h"

namespace orv::engine {

// Throws an engine error that asks for the document to be saved without a password when the
// manifest gives any part encryption data; a package without a manifest passes.
void RefuseEncryptedPackage(ZipArchive& archive);

}  // namespace orv::engine
