// Files of the source tree that the tests' own writers make: the office documents of the
// bundled example and the seeds of the office fuzz targets. Each must hold what its writer
// makes now, so that a change to a writer reaches them too. With ORV_WRITE_GENERATED=1 in the
// environment the test writes them anew instead (each whole, through a temporary file).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/office/ZipArchive.h"
#include "support/TempFolder.h"
#include "support/office/ExcelFiles.h"
#include "support/office/OpenDocumentFiles.h"
#include "support/office/PowerPointFiles.h"
#include "support/office/WordFiles.h"

namespace orv::engine::test {
namespace {

namespace fs = std::filesystem;
using namespace orv::test;

struct Generated {
    std::string path;  // from the top of the source tree
    std::string bytes;
};

std::string WordRunOf(const std::string& text, const std::string& properties = "") {
    return "<w:r>" + (properties.empty() ? "" : "<w:rPr>" + properties + "</w:rPr>") +
           "<w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}

std::string WordParagraphOf(const std::string& runs, const std::string& style = "") {
    return "<w:p>" + (style.empty() ? "" : "<w:pPr><w:pStyle w:val=\"" + style + "\"/></w:pPr>") +
           runs + "</w:p>";
}

std::string WordCellOf(const std::string& text) {
    return "<w:tc>" + WordParagraphOf(WordRunOf(text)) + "</w:tc>";
}

// A page of the user guide of the example's note-taking application: sentences the example
// memory holds (one in bold inside), near variants of others, a table of shortcuts, a
// footnote of two sentences, a header; and a comment, hidden text and a deleted revision, none
// of which counts.
std::string ExampleManual() {
    WordFile file;
    file.body =
        WordParagraphOf(WordRunOf("Backups and synchronisation"), "Heading1") +
        WordParagraphOf(WordRunOf("Backups are created automatically every day.") +
                        "<w:commentRangeStart w:id=\"0\"/>" +
                        WordRunOf(" To restore a backup, select it and click ") +
                        WordRunOf("Restore", "<w:b/>") + WordRunOf(".") +
                        "<w:commentRangeEnd w:id=\"0\"/>" +
                        "<w:r><w:commentReference w:id=\"0\"/></w:r>") +
        WordParagraphOf(WordRunOf("Synchronisation runs every 30 minutes.") +
                        "<w:r><w:footnoteReference w:id=\"1\"/></w:r>" +
                        WordRunOf(" Internal build 7731.", "<w:vanish/>")) +
        WordParagraphOf(WordRunOf("Deleted notes are kept in the bin for 30 days.") +
                        "<w:del w:id=\"5\" w:author=\"Editor\"><w:r><w:delText> Old notes are "
                        "removed.</w:delText></w:r></w:del>") +
        "<w:tbl><w:tr>" + WordCellOf("Ctrl+F") + WordCellOf("Search all notes") + "</w:tr><w:tr>" +
        WordCellOf("Ctrl+P") + WordCellOf("Print the current note") + "</w:tr></w:tbl>" +
        WordParagraphOf(WordRunOf("Press Ctrl+F to search all notes.")) +
        "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHeader\"/></w:sectPr>";
    file.footnotes = WordNote("footnote", 1,
                              {"If synchronisation fails, check your network connection and "
                               "try again. The server may not be responding."});
    file.comments =
        "<w:comment w:id=\"0\" w:author=\"Reviewer\"><w:p><w:r><w:t>Please check the name of "
        "the button.</w:t></w:r></w:p></w:comment>";
    file.parts.push_back(
        {"rIdHeader", "header", "header1.xml", WordParagraphOf(WordRunOf("User guide")), false});
    return WordBytes(file);
}

// The interface strings of the example's application as a translator is sent them: a sheet
// of buttons and one of messages, with the string ids in a hidden column, a number and a
// formula that do not count, and a hidden sheet of notes for the developers.
std::string ExampleInterface() {
    ExcelSheet buttons("Buttons", {
                                      {{InlineCell("Id"), SharedCell("Text")}},
                                      {{InlineCell("btn.save"), SharedCell("Save")}},
                                      {{InlineCell("btn.cancel"), SharedCell("Cancel")}},
                                      {{InlineCell("btn.close"), SharedCell("Close")}},
                                      {{InlineCell("btn.rename"), SharedCell("Rename note")}},
                                      {{InlineCell("btn.sort"), SharedCell("Sort by name")}},
                                  });
    buttons.hiddenColumns = {{1, 1}};
    ExcelSheet messages(
        "Messages",
        {
            {{SharedCell("The file could not be opened."), NumberCell("404")}},
            {{SharedCell("The file could not be printed."), NumberCell("405")}},
            {{SharedCell("Your changes have been saved."), NumberCell("200")}},
            {{SharedCell("Save"), {ExcelCell::Kind::Formula, "UPPER(A1)", "SAVE"}}},
            {{{ExcelCell::Kind::SharedRuns,
               "<r><t xml:space=\"preserve\">Press </t></r><r><rPr><b/></rPr><t>Ctrl+F</t></r>"
               "<r><t xml:space=\"preserve\"> to search all notes.</t></r>",
               {}}}},
        });
    ExcelSheet notes("Developer notes",
                     {{{InlineCell("Keep the ids in step with the source code.")}}}, "hidden");
    return ExcelBytes({buttons, messages, notes});
}

// Two slides, a hidden one, a table, a group, a bold run, a line break, a slide-number field
// and speaker notes: a seed that reaches every branch of the presentation reader.
std::string SeedPresentation() {
    PresentationFile file;
    file.slides.push_back(
        {.shapes =
             Shape({Paragraph("Getting started")}, "title") +
             Shape({ParagraphOf(TextRun("Press ") + TextRun("Ctrl+F", "b=\"1\"") +
                                TextRun(" to search.") + "<a:br/>" + TextRun("Next")),
                    ParagraphOf("<a:fld id=\"{1}\" type=\"slidenum\"><a:t>1</a:t></a:fld>")}) +
             Group({Shape({Paragraph("Inside a group.")}), Connector()}),
         .notes = {"Say hello first."}});
    file.slides.push_back({.shapes = Shape({Paragraph("Hidden text.")}), .show = "0"});
    file.slides.push_back({.shapes = Table({{Paragraph("Save"), Paragraph("Cancel")}})});
    return PresentationBytes(file);
}

// OpenDocument seeds that reach each reader's branches: a text with a bold span, a link, a
// tab, a note, a tracked deletion, a comment, hidden text, a page number and a header; a
// spreadsheet with a hidden sheet, row and column, repeated cells and a formula; a presentation
// with a hidden slide and notes.
OdfParts SeedText() {
    return {
        .body =
            "<text:tracked-changes><text:changed-region text:id=\"c1\"><text:deletion>"
            "<text:p>Removed.</text:p></text:deletion></text:changed-region>"
            "</text:tracked-changes>"
            "<text:h text:outline-level=\"1\">Getting started</text:h>"
            "<text:p>Press <text:span text:style-name=\"T1\">Ctrl+F</text:span> to "
            "search<text:tab/>all <text:a xlink:href=\"https://example.org\">notes</text:a>."
            "<text:note text:note-class=\"footnote\"><text:note-citation>1</text:note-citation>"
            "<text:note-body><text:p>A note.</text:p></text:note-body></text:note>"
            "<office:annotation><text:p>A comment.</text:p></office:annotation>"
            "<text:hidden-text text:string-value=\"Hidden.\"/>"
            "<text:change text:change-id=\"c1\"/> Page <text:page-number>1</text:page-number>"
            "</text:p>",
        .automaticStyles =
            "<style:style style:name=\"T1\" style:family=\"text\">"
            "<style:text-properties fo:font-weight=\"bold\"/></style:style>",
        .masterStyles =
            "<style:master-page style:name=\"Standard\"><style:header>"
            "<text:p>User guide</text:p></style:header></style:master-page>",
    };
}

OdfParts SeedSpreadsheet() {
    return {
        .body =
            "<table:table table:name=\"Buttons\"><table:table-column/>"
            "<table:table-column table:visibility=\"collapse\"/>"
            "<table:table-row><table:table-cell office:value-type=\"string\">"
            "<text:p>Save</text:p></table:table-cell><table:table-cell "
            "office:value-type=\"string\"><text:p>btn.save</text:p></table:table-cell>"
            "</table:table-row><table:table-row table:visibility=\"collapse\">"
            "<table:table-cell office:value-type=\"string\"><text:p>Hidden</text:p>"
            "</table:table-cell></table:table-row><table:table-row>"
            "<table:table-cell office:value-type=\"string\" "
            "table:number-columns-repeated=\"3\"><text:p>Cancel</text:p></table:table-cell>"
            "<table:table-cell office:value-type=\"float\" office:value=\"4\">"
            "<text:p>4</text:p></table:table-cell><table:table-cell table:formula=\"of:=1\" "
            "office:value-type=\"string\"><text:p>X</text:p></table:table-cell>"
            "</table:table-row></table:table>"
            "<table:table table:name=\"Notes\" table:style-name=\"ta2\"><table:table-row>"
            "<table:table-cell office:value-type=\"string\"><text:p>Internal</text:p>"
            "</table:table-cell></table:table-row></table:table>",
        .automaticStyles =
            "<style:style style:name=\"ta2\" style:family=\"table\">"
            "<style:table-properties table:display=\"false\"/></style:style>",
    };
}

OdfParts SeedPresentationParts() {
    return {
        .body =
            "<draw:page draw:name=\"One\"><draw:frame><draw:text-box><text:p>Welcome to "
            "the user guide.</text:p></draw:text-box></draw:frame><presentation:notes>"
            "<draw:frame><draw:text-box><text:p>Say hello.</text:p></draw:text-box>"
            "</draw:frame></presentation:notes></draw:page>"
            "<draw:page draw:name=\"Two\" draw:style-name=\"dp2\"><draw:frame>"
            "<draw:text-box><text:p>Hidden slide.</text:p></draw:text-box></draw:frame>"
            "</draw:page>",
        .automaticStyles =
            "<style:style style:name=\"dp2\" style:family=\"drawing-page\">"
            "<style:drawing-page-properties presentation:visibility=\"hidden\"/>"
            "</style:style>",
    };
}

// Each generated zip as a list of its parts, the input the office fuzz targets zip again
// (tests/fuzz/PartList.h), so that the search starts at the XML of real files.
std::string PartListOf(const std::string& zip) {
    ZipArchive archive(zip);
    std::string list;
    for (const std::string& name : archive.Names()) {
        list += "== " + name + "\n" + archive.Read(name).value();
        if (list.back() != '\n') list += '\n';
    }
    return list;
}

std::vector<Generated> GeneratedFiles() {
    std::vector<Generated> files = {
        {"examples/docs/manual.docx", ExampleManual()},
        {"examples/docs/interface.xlsx", ExampleInterface()},
    };
    std::map<std::string, std::string> seeds = {
        {"office_open_xml_corpus/manual.docx", ExampleManual()},
        {"office_open_xml_corpus/slides.pptx", SeedPresentation()},
        {"office_open_xml_corpus/interface.xlsx", ExampleInterface()},
    };
    const std::map<std::string, std::string> odfSeeds = {
        {"open_document_corpus/letter.odt", OpenDocumentBytes(OdfKind::Text, SeedText())},
        {"open_document_corpus/buttons.ods",
         OpenDocumentBytes(OdfKind::Spreadsheet, SeedSpreadsheet())},
        {"open_document_corpus/slides.odp",
         OpenDocumentBytes(OdfKind::Presentation, SeedPresentationParts())},
    };
    seeds.insert(odfSeeds.begin(), odfSeeds.end());
    // The flat form is read from the input as it is.
    files.push_back({"tests/fuzz/open_document_corpus/letter.fodt",
                     FlatOpenDocumentBytes(OdfKind::Text, SeedText())});
    files.push_back({"tests/fuzz/open_document_corpus/buttons.fods",
                     FlatOpenDocumentBytes(OdfKind::Spreadsheet, SeedSpreadsheet())});
    for (const auto& [name, zip] : seeds) {
        files.push_back({"tests/fuzz/" + name, zip});
        files.push_back({"tests/fuzz/" + name + ".parts", PartListOf(zip)});
    }
    return files;
}

// The entries of a zip and their content: two zips of the same parts are the same file to a
// reader, whichever deflate made their bytes.
std::map<std::string, std::string> EntriesOf(const std::string& bytes) {
    if (!LooksLikeZip(bytes)) return {{"", bytes}};
    ZipArchive archive(bytes);
    std::map<std::string, std::string> entries;
    for (const std::string& name : archive.Names()) entries[name] = archive.Read(name).value();
    return entries;
}

void WriteWhole(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    const fs::path temporary = path.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) FAIL() << "cannot write " << temporary;
    }
    fs::rename(temporary, path);
}

TEST(GeneratedFiles, AreWhatTheWritersMakeNow) {
    const bool write = std::getenv("ORV_WRITE_GENERATED") != nullptr;
    for (const Generated& file : GeneratedFiles()) {
        const fs::path path = fs::path(ORV_SOURCE_DIR) / file.path;
        if (write) {
            WriteWhole(path, file.bytes);
            continue;
        }
        ASSERT_TRUE(fs::exists(path))
            << file.path << " is missing: run this test with ORV_WRITE_GENERATED=1";
        EXPECT_EQ(EntriesOf(ReadBytes(path)), EntriesOf(file.bytes))
            << file.path << " is not what its writer makes: run this test with "
            << "ORV_WRITE_GENERATED=1 and commit the result";
    }
}

}  // namespace
}  // namespace orv::engine::test
