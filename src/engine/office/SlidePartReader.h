#pragma once
// The text of one slide or notes page: the text bodies of its shape tree (p:cSld/p:spTree) in
// the order of the part, inside groups and table cells too.

#include "engine/office/TextBodyReader.h"
#include "engine/office/XmlPartReader.h"

namespace orv::engine {

class SlidePartReader {
public:
    // `bodies` must outlive the reader.
    explicit SlidePartReader(TextBodyReader& bodies) : bodies_(bodies) {}

    // Reads the slide that `xml` streams; false, with nothing read, when the slide is hidden:
    // it is never shown, so it is not translated. Throws an engine error when the part is not
    // a slide or not well-formed.
    bool ReadSlide(XmlPartReader& xml);
    // Reads the notes page that `xml` streams. Only its body placeholder holds the speaker's
    // notes: the image of the slide, the slide number, header, footer and date are not read.
    void ReadNotes(XmlPartReader& xml);

private:
    enum class Part { Slide, Notes };
    bool Read(XmlPartReader& xml, Part part);

    TextBodyReader& bodies_;
};

}  // namespace orv::engine
