// Workbooks read as a translator sees them: the visible sheets' names and the text of their
// visible cells count exactly as the same text in a plain-text file would, and what the user
// never sees, or never translates, does not count at all.

#include "engine/office/ExcelWorkbook.h"

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "OfficeCounts.h"
#include "engine/text/Utf8.h"
#include "support/office/ExcelFiles.h"

namespace orv::engine::test {
namespace {

using orv::test::ExcelBytes;
using orv::test::ExcelCell;
using orv::test::ExcelEntries;
using orv::test::ExcelOptions;
using orv::test::ExcelSheet;
using orv::test::InlineCell;
using orv::test::NumberCell;
using orv::test::SharedCell;
using orv::test::ZipBytes;

const std::string kFox = "The quick brown fox jumps over the lazy dog.";
const std::string kButton = "Press the green button to start the machine.";
const std::string kOffice = "Our office is closed on public holidays.";
const std::string kInvoices = "Invoices are due within thirty days.";
const std::string kFoxVariant = "The quick brown fox jumps over the lazy cat.";
const std::string kButtonVariant = "Press the red button to start the machine.";
const std::string kOfficeVariant = "Our office is closed on all public holidays.";

ExcelCell Cell(ExcelCell::Kind kind, std::string text, std::string result = {}) {
    return {kind, std::move(text), std::move(result)};
}

// Paragraphs of a plain-text file, a blank line between them.
std::string PlainText(const std::vector<std::string>& paragraphs) {
    std::string text;
    for (const std::string& paragraph : paragraphs) text += paragraph + "\n\n";
    return text;
}

std::string FiguresOf(const std::string& fileName, const std::string& bytes) {
    return Figures(AnalyseDocument(fileName, bytes));
}

std::string PlainFigures(const std::vector<std::string>& paragraphs) {
    return FiguresOf("same.txt", PlainText(paragraphs));
}

TEST(ExcelWorkbook, CountsAsThePlainTextOfItsSheetNamesAndCells) {
    const ExcelSheet prices{
        "Prices",
        {{{SharedCell(kFox), SharedCell(kButtonVariant)}},
         {{InlineCell(kOffice), SharedCell(kFox)}},  // one shared string in two cells
         {{NumberCell("12.5"), SharedCell(kInvoices)}},
         {{SharedCell(kFoxVariant)}}}};
    // A string typed as a formula's result, with no formula, is the cell's own text.
    const ExcelCell stringValue =
        Cell(ExcelCell::Kind::Xml, "<c t=\"str\"><v>" + kOfficeVariant + "</v></c>");
    ExcelSheet terms{"Terms and conditions",
                     {{{InlineCell(kButton)}}, {{SharedCell(kFox), stringValue}}}};
    terms.withReferences = false;
    const std::vector<std::string> text = {
        "Prices", kFox,      kButtonVariant, kOffice,
        kFox,     kInvoices, kFoxVariant,    "Terms and conditions",
        kButton,  kFox,      kOfficeVariant};
    const std::string expected = PlainFigures(text);
    ASSERT_NE(expected.find("rep 2/"), std::string::npos) << expected;

    // A workbook with macros holds them in a part of their own, which is never read.
    std::vector<orv::test::ZipEntry> withMacros = ExcelEntries({prices, terms});
    withMacros.emplace_back("xl/vbaProject.bin", std::string("\xD0\xCF\x11\xE0 Sub Main()", 16));
    const struct {
        const char* what;
        const char* fileName;
        std::string bytes;
    } cases[] = {
        {"transitional", "book.xlsx", ExcelBytes({prices, terms})},
        {"strict", "book.xlsx", ExcelBytes({prices, terms}, ExcelOptions{true})},
        {"with macros", "macros.xlsm", ZipBytes(withMacros)},
        {"template", "template.xltx", ExcelBytes({prices, terms})},
        {"strict template", "template.xltm", ExcelBytes({prices, terms}, ExcelOptions{true})},
    };
    for (const auto& c : cases) EXPECT_EQ(FiguresOf(c.fileName, c.bytes), expected) << c.what;
}

TEST(ExcelWorkbook, WhatTheUserDoesNotSeeOrTranslateIsLeftOut) {
    const ExcelSheet visible{"Prices", {{{SharedCell(kFox)}}}};
    ExcelSheet hidden{"Archive", {{{SharedCell(kButton)}}}, "hidden"};
    ExcelSheet veryHidden{"Lookup", {{{SharedCell(kButton)}}}, "veryHidden"};
    ExcelSheet hiddenRow{"Prices", {{{SharedCell(kFox)}}, {{SharedCell(kButton)}, true}}};
    ExcelSheet hiddenColumn{"Prices", {{{SharedCell(kFox), SharedCell(kButton)}}}};
    hiddenColumn.hiddenColumns = {{2, 3}};
    ExcelSheet hiddenByPlace = hiddenColumn;
    hiddenByPlace.withReferences = false;
    ExcelSheet afterReference{"Prices",
                              {{{Cell(ExcelCell::Kind::Xml, "<c r=\"D1\" t=\"inlineStr\"><is><t>" +
                                                                kFox + "</t></is></c>"),
                                 SharedCell(kButton)}}}};
    afterReference.hiddenColumns = {{5, 5}};
    afterReference.withReferences = false;
    // The sheet "Prices" with the fox sentence, then `cell`.
    const auto afterFox = [](const ExcelCell& cell) {
        return ExcelSheet{"Prices", {{{SharedCell(kFox), cell}}}};
    };
    const ExcelSheet formula{"Prices",
                             {{{SharedCell(kFox), Cell(ExcelCell::Kind::Formula, "A1", kButton)}}}};
    const ExcelSheet sharedFormula{
        "Prices",
        {{{SharedCell(kFox),
           Cell(ExcelCell::Kind::Xml, "<c t=\"s\"><f t=\"shared\" si=\"0\"/><v>0</v></c>")}}}};
    const ExcelSheet phonetic{"Prices",
                              {{{Cell(ExcelCell::Kind::SharedRuns,
                                      "<r><t>" + kFox +
                                          "</t></r><rPh sb=\"0\" eb=\"3\"><t>reading aid</t></rPh>"
                                          "<phoneticPr fontId=\"1\"/>")}}}};
    ExcelSheet macros{"Macro1", {{{SharedCell(kButton)}}}};
    macros.kind = "xlMacrosheet";
    ExcelSheet chart{"Sales chart", {{{SharedCell(kButton)}}}};
    chart.kind = "chartsheet";
    const ExcelSheet escaped{"Prices", {{{SharedCell(kFox + "_x000D_"), SharedCell("_x0001_")}}}};

    const struct {
        const char* what;
        std::vector<ExcelSheet> sheets;
        std::vector<std::string> shown;
        std::vector<std::string> withoutTheRule;
    } cases[] = {
        {"hidden sheet", {visible, hidden}, {"Prices", kFox}, {"Prices", kFox, "Archive", kButton}},
        {"very hidden sheet",
         {veryHidden, visible},
         {"Prices", kFox},
         {"Lookup", kButton, "Prices", kFox}},
        {"hidden row", {hiddenRow}, {"Prices", kFox}, {"Prices", kFox, kButton}},
        {"hidden column", {hiddenColumn}, {"Prices", kFox}, {"Prices", kFox, kButton}},
        {"hidden column of a cell without its reference",
         {hiddenByPlace},
         {"Prices", kFox},
         {"Prices", kFox, kButton}},
        {"the cell after a referenced one is in the next column",
         {afterReference},
         {"Prices", kFox},
         {"Prices", kFox, kButton}},
        {"number", {afterFox(NumberCell("42"))}, {"Prices", kFox}, {"Prices", kFox, "42"}},
        {"boolean",
         {afterFox(Cell(ExcelCell::Kind::Xml, "<c t=\"b\"><v>1</v></c>"))},
         {"Prices", kFox},
         {"Prices", kFox, "1"}},
        {"error",
         {afterFox(Cell(ExcelCell::Kind::Xml, "<c t=\"e\"><v>#DIV/0!</v></c>"))},
         {"Prices", kFox},
         {"Prices", kFox, "#DIV/0!"}},
        {"date",
         {afterFox(Cell(ExcelCell::Kind::Xml, "<c t=\"d\"><v>2026-01-01</v></c>"))},
         {"Prices", kFox},
         {"Prices", kFox, "2026-01-01"}},
        {"string result of a formula", {formula}, {"Prices", kFox}, {"Prices", kFox, kButton}},
        {"shared string result of a formula",
         {sharedFormula},
         {"Prices", kFox},
         {"Prices", kFox, kFox}},
        {"phonetic run", {phonetic}, {"Prices", kFox}, {"Prices", kFox + "reading aid"}},
        {"macro sheet", {visible, macros}, {"Prices", kFox}, {"Prices", kFox, "Macro1", kButton}},
        {"cells of a chart sheet",
         {visible, chart},
         {"Prices", kFox, "Sales chart"},
         {"Prices", kFox, "Sales chart", kButton}},
        {"escaped characters",
         {escaped},
         {"Prices", kFox},
         {"Prices", kFox + "_x000D_", "_x0001_"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string shown = PlainFigures(c.shown);
        EXPECT_EQ(FiguresOf("book.xlsx", ExcelBytes(c.sheets)), shown);
        EXPECT_NE(PlainFigures(c.withoutTheRule), shown) << "the case tests no rule";
    }
}

TEST(ExcelWorkbook, FormattedRunsInACellCountAsMarkupDoes) {
    const std::string plainRun = "<r><t xml:space=\"preserve\">Press the </t></r>";
    const std::string endRun = "<r><t xml:space=\"preserve\"> button to start the machine.</t></r>";
    const auto runs = [&](const std::string& properties) {
        return plainRun + "<r><rPr>" + properties + "</rPr><t>green</t></r>" + endRun;
    };
    const struct {
        const char* what;
        std::string properties;
        std::string html;  // of the sentence
    } cases[] = {
        {"bold", "<b/>", "Press the <b>green</b> button to start the machine."},
        // A run's formatting is one pair, however many properties it combines.
        {"italic, underlined", "<i/><u/>", "Press the <i>green</i> button to start the machine."},
        {"superscript", "<vertAlign val=\"superscript\"/>",
         "Press the <sup>green</sup> button to start the machine."},
        {"struck through in a font of its own", "<strike/><rFont val=\"Arial\"/>",
         "Press the <s>green</s> button to start the machine."},
        {"a font and colour only", "<rFont val=\"Arial\"/><color rgb=\"FFFF0000\"/>", kButton},
        {"bold switched off", "<b val=\"0\"/>", kButton},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string html = "<html><body><p>Prices</p><p>" + c.html + "</p></body></html>";
        const std::string expected = FiguresOf("same.html", html);
        for (const ExcelCell::Kind kind :
             {ExcelCell::Kind::SharedRuns, ExcelCell::Kind::InlineRuns})
            EXPECT_EQ(FiguresOf("book.xlsx",
                                ExcelBytes({{"Prices", {{{Cell(kind, runs(c.properties))}}}}})),
                      expected);
    }
}

TEST(ExcelWorkbook, SheetsFollowTheWorkbookOrderAndPairsStayDistinct) {
    const std::string bold =
        "<r><t xml:space=\"preserve\">a </t></r><r><rPr><b/></rPr><t>b</t></r>"
        "<r><t xml:space=\"preserve\"> c</t></r>";
    ExcelSheet zeta{"Zeta", {{{Cell(ExcelCell::Kind::SharedRuns, bold)}}}};
    zeta.partName = "xl/worksheets/sheet9.xml";
    ExcelSheet alpha{"Alpha", {{{Cell(ExcelCell::Kind::SharedRuns, bold), InlineCell("last")}}}};
    alpha.partName = "xl/worksheets/sheet1.xml";
    const DocumentText document = ReadExcelBytes(ExcelBytes({zeta, alpha}));
    EXPECT_EQ(Blocks(document),
              (Lines{L"Zeta", L"a <b>b</b> c", L"Alpha", L"a <b>b</b> c", L"last"}));
    EXPECT_EQ(BlockCodes(document), (std::vector<std::string>{"", "B1 E1", "", "B2 E2", ""}));
    EXPECT_EQ(document.taggingErrors, 0);
}

// A workbook with the sheet `sheet` and the shared strings "one" and "two".
std::string BookWith(ExcelSheet sheet) {
    sheet.rows.insert(sheet.rows.begin(), {{SharedCell("one"), SharedCell("two")}});
    return ExcelBytes({sheet});
}

ExcelSheet SheetOfCell(const std::string& cellXml, const std::string& columnsXml = {}) {
    ExcelSheet sheet{"S", {{{Cell(ExcelCell::Kind::Xml, cellXml)}}}};
    sheet.columnsXml = columnsXml;
    sheet.withReferences = false;
    return sheet;
}

std::string ManyHiddenRanges() {
    std::string columns;
    for (int column = 16384; column >= 1; column -= 2)
        columns += "<col min=\"" + std::to_string(column) + "\" max=\"" + std::to_string(column) +
                   "\" hidden=\"1\"/>";
    return columns;
}

std::string WithPart(const std::vector<ExcelSheet>& sheets, const std::string& name,
                     const std::string& content) {
    std::vector<orv::test::ZipEntry> entries = ExcelEntries(sheets);
    for (orv::test::ZipEntry& entry : entries)
        if (entry.name == name) entry.content = content;
    return ZipBytes(entries);
}

// The failure of reading `bytes`, or else the blocks read, joined by " | ".
std::wstring OutcomeOf(const std::string& bytes) {
    std::wstring blocks;
    const std::wstring failure = FailureOf([&] {
        for (const std::wstring& block : Blocks(ReadExcelBytes(bytes)))
            blocks += (blocks.empty() ? L"" : L" | ") + block;
    });
    return failure == L"no error" ? blocks : failure;
}

TEST(ExcelWorkbook, HostileWorkbooksFailWithTheReasonOrReadSoundly) {
    const std::wstring kNoString =
        L"A cell of the workbook names a shared string the workbook lacks";
    const std::wstring kNoReference = L"A sheet of the workbook names a cell by no cell reference";
    const std::wstring kNoRange =
        L"A sheet of the workbook hides a range of columns that is not one";
    const std::wstring kNoSheet = L"The workbook names a sheet it does not hold";
    ExcelSheet missing{"Gone", {}};
    missing.inPackage = false;
    const struct {
        const char* what;
        std::string bytes;
        std::wstring outcome;  // the failure, or the blocks read, joined by " | "
    } cases[] = {
        {"string index past the end", BookWith(SheetOfCell("<c t=\"s\"><v>2</v></c>")), kNoString},
        {"string index beyond any count",
         BookWith(SheetOfCell("<c t=\"s\"><v>99999999999999999999999</v></c>")), kNoString},
        {"string index no number", BookWith(SheetOfCell("<c t=\"s\"><v>-1</v></c>")),
         L"A cell of the workbook names its shared string by no number"},
        {"shared string and no table",
         WithPart({SheetOfCell("<c t=\"s\"><v>0</v></c>")}, "xl/_rels/workbook.xml.rels",
                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                  "relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats."
                  "org/officeDocument/2006/relationships/worksheet\" "
                  "Target=\"worksheets/sheet1.xml\"/></Relationships>"),
         kNoString},
        {"reference with the row first", BookWith(SheetOfCell("<c r=\"7C\" t=\"s\"><v>0</v></c>")),
         kNoReference},
        {"reference to row zero", BookWith(SheetOfCell("<c r=\"A0\"><v>1</v></c>")), kNoReference},
        {"reference without a row", BookWith(SheetOfCell("<c r=\"B\"><v>1</v></c>")), kNoReference},
        {"reference past the last column", BookWith(SheetOfCell("<c r=\"XFE1\"><v>1</v></c>")),
         kNoReference},
        {"reference past the last row", BookWith(SheetOfCell("<c r=\"A1048577\"><v>1</v></c>")),
         kNoReference},
        {"hidden range that ends before it starts",
         BookWith(SheetOfCell("", "<col min=\"5\" max=\"3\" hidden=\"1\"/>")), kNoRange},
        {"hidden range from column zero",
         BookWith(SheetOfCell("", "<col min=\"0\" max=\"3\" hidden=\"1\"/>")), kNoRange},
        {"hidden range without its end", BookWith(SheetOfCell("", "<col min=\"2\" hidden=\"1\"/>")),
         kNoRange},
        {"hidden range past every column",
         BookWith(SheetOfCell("<c r=\"XFD2\" t=\"s\"><v>1</v></c>",
                              "<col min=\"2\" max=\"99999999999999999999\" hidden=\"1\"/>")),
         L"S | one"},
        {"hidden range beyond the last column",
         BookWith(SheetOfCell("<c r=\"XFD2\" t=\"s\"><v>1</v></c>",
                              "<col min=\"20000\" max=\"30000\" hidden=\"1\"/>")),
         L"S | one | two | two"},
        {"a range for every other column, last first",
         BookWith(SheetOfCell("<c r=\"C2\" t=\"s\"><v>1</v></c>", ManyHiddenRanges())),
         L"S | one | two"},
        {"sheet the package lacks", ExcelBytes({ExcelSheet{"Here", {}}, missing}), kNoSheet},
        {"sheet without its relationship",
         WithPart({ExcelSheet{"Here", {}}}, "xl/_rels/workbook.xml.rels",
                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                  "relationships\"/>"),
         kNoSheet},
        {"main part of another kind",
         WithPart({}, "xl/workbook.xml",
                  "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/"
                  "main\"/>"),
         L"The file is not a workbook: its main part is a document of another kind"},
        {"sheet that is not well-formed",
         WithPart({ExcelSheet{"Here", {}}}, "xl/worksheets/sheet1.xml", "<worksheet><sheetData>"),
         L"A part of the document is not well-formed XML"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(OutcomeOf(c.bytes), c.outcome);
    }
}

}  // namespace
}  // namespace orv::engine::test
