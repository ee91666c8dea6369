#pragma once
// What the body of a Word document refers to that lives in other parts: its footnotes and
// endnotes (by note id) and its headers and footers (by relationship id), each once, in the
// order of its first reference, which is the order their text is read in.

#include <string>
#include <unordered_set>
#include <vector>

namespace orv::engine {

class OrderedIds {
public:
    void Add(std::string id) {
        if (seen_.insert(id).second) ids_.push_back(std::move(id));
    }
    const std::vector<std::string>& ids() const { return ids_; }
    bool Has(const std::string& id) const { return seen_.count(id) != 0; }

private:
    std::vector<std::string> ids_;
    std::unordered_set<std::string> seen_;
};

struct WordReferences {
    OrderedIds footnotes;
    OrderedIds endnotes;
    OrderedIds headersAndFooters;
};

}  // namespace orv::engine
