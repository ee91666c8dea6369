// libxml2 linked statically with ICU as its converter: windows-1252 and Shift_JIS are not
// among the encodings libxml2 decodes by itself, so these documents parse only through ICU.

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, DocumentDeleter>;

Document Parse(const std::string& bytes) {
    return Document(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "test.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

std::string RootText(const Document& document) {
    xmlChar* content = xmlNodeGetContent(xmlDocGetRootElement(document.get()));
    std::string text(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

std::string Declared(const char* encoding, const std::string& body) {
    return std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?><t>" + body + "</t>";
}

struct EncodingCase {
    const char* encoding;
    std::string body;
    std::string utf8;
};

TEST(Libxml2StaticTest, DocumentsInWindowsAndJapaneseEncodingsBecomeUtf8) {
    const EncodingCase cases[] = {
        {"windows-1252", "caf\xE9 \x80 \x93ok\x94", "café € “ok”"},
        {"Shift_JIS", "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x95\xB6", "日本語の文"},
        {"ISO-8859-1", "Gr\xFC\xDF", "Grüß"},
        {"UTF-8", "Gr\xC3\xBC\xC3\x9F", "Grüß"},
    };
    for (const EncodingCase& c : cases) {
        const Document document = Parse(Declared(c.encoding, c.body));
        ASSERT_NE(document, nullptr) << c.encoding;
        EXPECT_EQ(RootText(document), c.utf8) << c.encoding;
    }
}

TEST(Libxml2StaticTest, AnEncodingNoConverterKnowsIsAnError) {
    EXPECT_EQ(Parse(Declared("x-no-such-encoding", "text")), nullptr);
}

}  // namespace
