#pragma once
// The files a job writes must never be the files it reads: an export or a log named like the
// open TM, a document or a settings file would silently replace the user's data.

#include <string>

#include "engine/job/JobFile.h"

namespace orv::engine {

// Throws an engine error naming the output and the input when any file the job writes (the
// logs, the exports, the project TM) is the TM at `tmPath`, one of the job's documents, one
// of its settings files or the job file itself, however each is spelled (links and "." or
// ".." included). Two outputs that are one file are refused too: one would overwrite the other.
void RefuseOutputsOverInputs(const JobDescription& job, const std::wstring& jobFilePath,
                             const std::wstring& tmPath);

}  // namespace orv::engine
