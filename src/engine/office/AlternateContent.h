#pragma once
// Content that a writer gives in several forms (mc:AlternateContent): a newer one in each
// mc:Choice, and one for older readers in mc:Fallback. Only one form is shown, so only one is
// read: the first choice, or the fallback when there is no choice. Otherwise the same text
// would be counted twice.

#include <vector>

#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class AlternateContent {
public:
    // Whether the current node is one of these wrappers, starting or ending. If so, the caller
    // goes on to the next node: a form that is not read has been passed over, and the inside
    // of the form that is read comes next, to be read as if the wrappers were not there.
    bool PassesOver(XmlPartReader& xml);

private:
    // For each wrapper open now, whether one of its forms has been read.
    std::vector<bool> formTaken_;
};

}  // namespace orv::engine
