#pragma once
// No output of a run may replace one of its inputs or another output: a report named like the
// TM would turn the memory into an HTML page. Checked before anything runs or is written.

#include <string>
#include <vector>

namespace orv::cli {

struct NamedPath {
    std::string role;  // "the translation memory", "the report", ...
    std::string path;  // as the user typed it; empty when the option was not given
};

// Throws a UsageError naming both roles and the output's path when an output reaches the same
// file as an input or an earlier output (links of either kind included).
void RefuseOutputsOverInputs(const std::vector<NamedPath>& inputs,
                             const std::vector<NamedPath>& outputs);

}  // namespace orv::cli
