#include "engine/office/WordDocument.h"

#include <unordered_map>
#include <unordered_set>

#include "engine/model/EngineError.h"
#include "engine/office/OpcPackage.h"
#include "engine/office/WordContentReader.h"
#include "engine/office/WordNames.h"

namespace orv::engine {

using namespace word;

namespace {

[[noreturn]] void RaiseMissingPart() {
    RaiseEngineError(L"The document refers to a part it does not hold");
}

// Moves the stream to its root element; false when the part has none.
bool ToRoot(XmlPartReader& xml) {
    while (xml.Next())
        if (xml.Type() == XML_READER_TYPE_ELEMENT) return true;
    return false;
}

// A note of several paragraphs as one segment, its paragraphs joined by a space.
TextBlock JoinedNote(std::vector<TextBlock>& paragraphs) {
    TextBlock note{{}, true};
    for (TextBlock& paragraph : paragraphs) {
        if (!note.text.text.empty()) note.text.text += L' ';
        note.text.text += paragraph.text.text;
        for (InlineCode& code : paragraph.text.codes) note.text.codes.push_back(std::move(code));
    }
    return note;
}

class WordReader {
public:
    WordReader(std::string_view bytes, const DocumentSettings& settings)
        : package_(bytes), settings_(settings) {
        for (Relationship& relationship : package_.RelationshipsOf(package_.MainPart()))
            if (!relationship.external)
                relationships_.emplace(relationship.id, std::move(relationship));
    }

    DocumentText Read() {
        ReadStyles();
        ReadBody();
        ReadNotes("footnotes", "footnote", references_.footnotes);
        ReadNotes("endnotes", "endnote", references_.endnotes);
        ReadHeadersAndFooters();
        return std::move(document_);
    }

private:
    // The part of the main part's first relationship of type `type`; "" when there is none.
    std::string PartOfType(std::string_view type) const {
        const Relationship* first = nullptr;
        for (const auto& [id, relationship] : relationships_)
            if (relationship.type == type && (!first || relationship.id < first->id))
                first = &relationship;
        return first ? first->target : std::string();
    }

    std::unique_ptr<XmlPartReader> StreamReferredPart(const std::string& part) {
        std::unique_ptr<XmlPartReader> xml = part.empty() ? nullptr : package_.Stream(part);
        if (!xml) RaiseMissingPart();
        return xml;
    }

    void ReadStyles() {
        const std::string part = PartOfType("styles");
        if (part.empty() || !package_.Has(part)) return;
        styles_ = WordStyles::Read(*package_.Stream(part));
    }

    void ReadBody() {
        std::unique_ptr<XmlPartReader> xml = package_.Stream(package_.MainPart());
        if (!ToRoot(*xml) || !IsWordStart(*xml, "document"))
            RaiseEngineError(L"The package is not a Word document");
        WordContentReader reader(*xml, styles_, nextPair_, &references_);
        ForEachChild(*xml, [&] {
            if (IsWordStart(*xml, "body"))
                reader.ReadBlocks(document_.blocks);
            else
                xml->Skip();  // the page background
        });
        NoteAnOpenFieldCode(reader);
    }

    // A damaged field hides the rest of its story; the log must say so rather than let the
    // count fall short unseen.
    void NoteAnOpenFieldCode(const WordContentReader& reader) {
        if (!reader.LeftAFieldCodeOpen() || notedOpenField_) return;
        notedOpenField_ = true;
        document_.notes.push_back(
            L"A field of the document begins and never ends: the text after its start is not "
            L"counted");
    }

    // The notes the body refers to, in the order of its references; the separators between
    // body and notes, and notes no one refers to, are left out.
    void ReadNotes(std::string_view partType, std::string_view noteName, const OrderedIds& ids) {
        if (ids.ids().empty()) return;
        std::unique_ptr<XmlPartReader> xml = StreamReferredPart(PartOfType(partType));
        std::unordered_map<std::string, std::vector<TextBlock>> notes;
        while (xml->Next()) {
            if (!IsWordStart(*xml, noteName)) continue;
            const std::string type = WordAttribute(*xml, "type");
            std::string id = WordAttribute(*xml, "id");
            if ((!type.empty() && type != "normal") || !ids.Has(id) || notes.count(id)) {
                xml->Skip();
                continue;
            }
            std::vector<TextBlock>& blocks = notes[std::move(id)];
            WordContentReader reader(*xml, styles_, nextPair_, nullptr);
            reader.ReadBlocks(blocks);
            NoteAnOpenFieldCode(reader);
        }
        for (const std::string& id : ids.ids()) {
            const auto note = notes.find(id);
            if (note == notes.end() || note->second.empty()) continue;
            if (settings_.multiSegmentFootnotes) {
                for (TextBlock& block : note->second) document_.blocks.push_back(std::move(block));
            } else {
                document_.blocks.push_back(JoinedNote(note->second));
            }
            notes.erase(note);
        }
    }

    // Each header and footer once, however many sections show it.
    void ReadHeadersAndFooters() {
        std::unordered_set<std::string> read;
        for (const std::string& id : references_.headersAndFooters.ids()) {
            const auto relationship = relationships_.find(id);
            if (relationship == relationships_.end()) RaiseMissingPart();
            const std::string& part = relationship->second.target;
            if (!read.insert(part).second) continue;
            std::unique_ptr<XmlPartReader> xml = StreamReferredPart(part);
            if (!ToRoot(*xml)) continue;
            WordContentReader reader(*xml, styles_, nextPair_, nullptr);
            reader.ReadBlocks(document_.blocks);
            NoteAnOpenFieldCode(reader);
        }
    }

    OpcPackage package_;
    const DocumentSettings& settings_;
    std::unordered_map<std::string, Relationship> relationships_;  // of the main part, by id
    WordStyles styles_;
    WordReferences references_;
    int nextPair_ = 1;
    bool notedOpenField_ = false;
    DocumentText document_;
};

}  // namespace

DocumentText ReadWordBytes(std::string_view bytes, const DocumentSettings& settings) {
    // The macros of a .docm (vbaProject.bin) are never read: only the parts with text are.
    return WordReader(bytes, settings).Read();
}

}  // namespace orv::engine
