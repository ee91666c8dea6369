// The same messages, with placeholders and inline formatting, given as a PO file, an XLIFF
// file, an HTML page and a plain text, each analysed on its own through BatchAnalyse against
// one memory: each format writes the messages its own way (a PO placeholder is a code, an
// XLIFF one a <ph> or text, a formatted word in HTML is split by tags), and a buyer pays the
// same for every one.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/AppTesting.h"
#include "front/BatchAnalyse.h"
#include "results/StatisticsFields.h"

namespace orv::engine::test {
namespace {

using orv::BandField;
using orv::kBandCount;
using orv::Measure;

// Bands: 100 for the first two (the second's placeholders are TMX codes), 75-84 for
// "Deleted" (5 of 6 tokens) and "Buffers" (5 of 6), 85-94 for "Press" (6 of 7), none for
// the last.
const char* const kMemory = R"(<?xml version="1.0" encoding="UTF-8"?>
<tmx version="1.4">
  <header creationtool="test" creationtoolversion="1" segtype="sentence" o-tmf="tmx"
          adminlang="en-US" srclang="en-US" datatype="plaintext"/>
  <body>
    <tu><tuv xml:lang="en-US"><seg>Cannot open file %s for writing.</seg></tuv>
        <tuv xml:lang="de-DE"><seg>Die Datei %s kann nicht geschrieben werden.</seg></tuv></tu>
    <tu><tuv xml:lang="en-US"><seg><ph x="1">%d</ph> files were copied to <ph x="2">%s</ph>.</seg></tuv>
        <tuv xml:lang="de-DE"><seg><ph x="1">%d</ph> Dateien nach <ph x="2">%s</ph> kopiert.</seg></tuv></tu>
    <tu><tuv xml:lang="en-US"><seg>Deleted {0} of {1} items.</seg></tuv>
        <tuv xml:lang="de-DE"><seg>{0} von {1} Elementen gelöscht.</seg></tuv></tu>
    <tu><tuv xml:lang="en-US"><seg>Press Save to keep all changes.</seg></tuv>
        <tuv xml:lang="de-DE"><seg>Speichern behält alle Änderungen.</seg></tuv></tu>
    <tu><tuv xml:lang="en-US"><seg>The Buffers are nearly full.</seg></tuv>
        <tuv xml:lang="de-DE"><seg>Die Puffer sind fast voll.</seg></tuv></tu>
  </body>
</tmx>
)";

struct Twin {
    const char* name;
    const char* content;
};

const Twin kTwins[] = {
    {"messages.txt",
     "Cannot open file %s for writing.\n\n%d files were copied to %s.\n\n"
     "Deleted {0} of {1} messages.\n\nPress Save to keep your changes.\n\n"
     "The Buffers are full.\n\nOpen %1$s in a new window.\n"},
    {"messages.po",
     "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
     "#, c-format\nmsgid \"Cannot open file %s for writing.\"\nmsgstr \"\"\n\n"
     "#, c-format\nmsgid \"%d files were copied to %s.\"\nmsgstr \"\"\n\n"
     "msgid \"Deleted {0} of {1} messages.\"\nmsgstr \"\"\n\n"
     "msgid \"Press Save to keep your changes.\"\nmsgstr \"\"\n\n"
     "msgid \"The Buffers are full.\"\nmsgstr \"\"\n\n"
     "#, c-format\nmsgid \"Open %1$s in a new window.\"\nmsgstr \"\"\n"},
    {"messages.html",
     "<!DOCTYPE html><html><body>\n<p>Cannot open file %s for writing.</p>\n"
     "<p>%d files were copied to %s.</p>\n<p>Deleted {0} of {1} messages.</p>\n"
     "<p>Press <b>Save</b> to keep your changes.</p>\n"
     "<p>The <code>Buffer</code>s are <i>full</i>.</p>\n<p>Open %1$s in a new window.</p>\n"
     "</body></html>\n"},
    {"messages.xlf",
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
     "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
     "<file source-language=\"en-US\" datatype=\"plaintext\" original=\"messages\"><body>\n"
     "<trans-unit id=\"1\"><source>Cannot open file <ph id=\"1\">%s</ph> for "
     "writing.</source></trans-unit>\n"
     "<trans-unit id=\"2\"><source>%d files were copied to %s.</source></trans-unit>\n"
     "<trans-unit id=\"3\"><source>Deleted <ph id=\"1\">{0}</ph> of <ph id=\"2\">{1}</ph> "
     "messages.</source></trans-unit>\n"
     "<trans-unit id=\"4\"><source>Press <g id=\"1\">Save</g> to keep your "
     "changes.</source></trans-unit>\n"
     "<trans-unit id=\"5\"><source>The <g id=\"1\">Buf</g>fers are full.</source></trans-unit>\n"
     "<trans-unit id=\"6\"><source>Open <ph id=\"1\">%1$s</ph> in a new "
     "window.</source></trans-unit>\n"
     "</body></file></xliff>\n"},
};

struct Analysis {
    int32_t words = 0;
    double charsPerWord = 0;
    std::array<int32_t, kBandCount> bandWords{};
    std::array<int32_t, kBandCount> bandSegments{};
};

class SameMessagesInEveryFormat : public ::testing::Test {
protected:
    SameMessagesInEveryFormat() {
        fs::create_directory(folder.path() / "temp");
        folder.Write("memory.tmx", kMemory);
        for (const Twin& twin : kTwins) folder.Write(twin.name, twin.content);
    }

    // Each document in an analysis of its own, so that none repeats another.
    Analysis Analyse(const char* name) {
        BatchAnalyse ba;
        ba.put_TranslationMemory(folder.wpath("memory.tmx"));
        ba.put_TranslationMemoryUserName(L"demo");
        ba.put_TranslationMemoryTargetLanguageId(1031);
        ba.put_LogFileName(folder.wpath(std::string(name) + ".log"));
        ba.get_Files()->Add(folder.wpath(name));
        EXPECT_TRUE(ba.Analyse());
        const auto record = ba.get_Files()->Item(1);
        EXPECT_TRUE(record->get_FileProcessed());
        Analysis analysis{record->get_WordsTotal(), record->get_CharsPerWord()};
        for (std::size_t b = 0; b < kBandCount; ++b) {
            const auto band = static_cast<orv::Band>(b);
            analysis.bandWords[b] = record->Get(BandField(band, Measure::Words));
            analysis.bandSegments[b] = record->Get(BandField(band, Measure::Segments));
        }
        return analysis;
    }

    TempFolder folder;
    ScopedTemp temp{folder.path() / "temp"};
};

TEST_F(SameMessagesInEveryFormat, GiveTheSameWordsCharactersPerWordAndBands) {
    const Analysis text = Analyse(kTwins[0].name);
    // Cannot open file %s for writing (6), %d files were copied to %s (6), Deleted {0} of
    // {1} messages (5), Press Save to keep your changes (6), The Buffers are full (4), Open
    // %1$s in a new window (6).
    EXPECT_EQ(text.words, 33);
    EXPECT_EQ(text.bandWords[static_cast<std::size_t>(orv::Band::Matches100)], 12);
    EXPECT_EQ(text.bandWords[static_cast<std::size_t>(orv::Band::Matches85)], 6);
    EXPECT_EQ(text.bandWords[static_cast<std::size_t>(orv::Band::Matches75)], 9);
    EXPECT_EQ(text.bandWords[static_cast<std::size_t>(orv::Band::NoMatches)], 6);
    for (const Twin& twin : kTwins) {
        SCOPED_TRACE(twin.name);
        const Analysis analysis = Analyse(twin.name);
        EXPECT_EQ(analysis.words, text.words);
        EXPECT_EQ(analysis.charsPerWord, text.charsPerWord);
        EXPECT_EQ(analysis.bandWords, text.bandWords);
        EXPECT_EQ(analysis.bandSegments, text.bandSegments);
    }
}

}  // namespace
}  // namespace orv::engine::test
