#pragma once
// Reads the paragraphs of one story of a Word document (the body, a header or footer, one
// note) from its part's stream, one paragraph at a time: each paragraph with text is a block,
// its runs' formatting changes made into code pairs. Only the current paragraph (and the text
// boxes it anchors) is held beyond the blocks already made.

#include <string>
#include <vector>

#include "engine/doc/DocumentText.h"
#include "engine/office/FormattedRuns.h"
#include "engine/office/WordReferences.h"
#include "engine/office/WordStyles.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class WordContentReader {
public:
    // Pair ids of codes are numbered from `nextPair`, which moves on past them. The body's
    // references to notes, headers and footers go to `references`, when it is given.
    WordContentReader(XmlPartReader& xml, const WordStyles& styles, int& nextPair,
                      WordReferences* references);

    // Reads what is inside the element the stream is at (w:body, w:hdr, w:footnote) up to its
    // end, appending a block to `blocks` for each paragraph with text, and after it one for
    // each paragraph with text of the text boxes it anchors.
    void ReadBlocks(std::vector<TextBlock>& blocks);

    // Whether a field began whose code never ended: what followed its start was taken for
    // its code, and so not counted. A field's result may span paragraphs, so only the end of
    // the story tells.
    bool LeftAFieldCodeOpen() const { return fieldsInCode_ > 0; }

private:
    struct Paragraph {
        FormattedRuns runs;
        std::vector<TextBlock> textBoxes;  // the blocks of the text boxes it anchors
        bool hasTextBox = false;           // set by FindTextBoxes for the object it reads
    };
    // A complex field (w:fldChar begin ... separate ... end): its code is not text, its
    // result is.
    struct Field {
        bool inCode = true;
        bool isLink = false;
        std::string instruction;  // the first characters of its code
    };

    void ReadBlockChild(std::vector<TextBlock>& blocks);
    void ReadParagraph(std::vector<TextBlock>& blocks);
    void ReadInline(Paragraph& paragraph, bool inLink);
    void ReadInlineChild(Paragraph& paragraph, bool inLink);
    void ReadRun(Paragraph& paragraph, bool inLink);
    void ReadRunChild(Paragraph& paragraph, bool inLink, const std::string& key);
    void ReadObject(Paragraph& paragraph, const wchar_t* code);
    void FindTextBoxes(Paragraph& paragraph);
    template <typename ReadChoice>
    void ReadAlternateContent(ReadChoice&& readChoice);
    void ReadSectionProperties();
    void ReadFieldChar();
    void ReadInstruction();

    bool InFieldCode() const { return fieldsInCode_ > 0; }
    bool InFieldLink() const;

    XmlPartReader& xml_;
    const WordStyles& styles_;
    int& nextPair_;
    WordReferences* references_;
    std::vector<Field> fields_;     // nested fields, the innermost last
    std::size_t fieldsInCode_ = 0;  // of fields_, those whose code is being read
    std::size_t fieldsBeyond_ = 0;  // nested deeper than kMostNestedFields: only counted
};

}  // namespace orv::engine
