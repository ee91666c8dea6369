#include <gtest/gtest.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <memory>
#include <string>
#include <vector>

#include "DocumentTesting.h"
#include "engine/doc/DocumentSegmenter.h"
#include "engine/text/Counter.h"
#include "engine/text/Utf8.h"

namespace orv::engine {
namespace {

using namespace std::string_literals;
using Source = DocumentEncoding::Source;

// Short business letters of our own; each fits every legacy encoding listed with it.
struct Letter {
    const char* language;
    std::string text;
    int64_t words;
    std::vector<const char*> encodings;
};

const Letter kLetters[] = {
    {"ru-RU",
     "Мы получили ваш заказ и начали работу над переводом. Документы будут готовы к пятнице, "
     "если не возникнет новых вопросов. Пожалуйста, пришлите нам список терминов.",
     24,
     {"KOI8-R", "windows-1251", "ISO-8859-5"}},
    {"cs-CZ",
     "Děkujeme za vaši objednávku. Překlad bude hotový do pátku, pokud se neobjeví žádné nové "
     "otázky. Pošlete nám prosím seznam odborných výrazů, které ve vaší firmě používáte.",
     26,
     {"ISO-8859-2", "windows-1250"}},
    {"pl-PL",
     "Dziękujemy za zamówienie. Tłumaczenie będzie gotowe w piątek, jeśli nie pojawią się nowe "
     "pytania. Prosimy o przesłanie listy terminów, których używacie w swojej firmie.",
     24,
     {"ISO-8859-2", "windows-1250"}},
    {"de-DE",
     "Vielen Dank für Ihren Auftrag. Die Übersetzung ist bis Freitag fertig, wenn keine neuen "
     "Fragen auftauchen. Bitte schicken Sie uns die Liste der Fachbegriffe für Ihre Firma.",
     27,
     {"ISO-8859-1", "windows-1252"}},
    {"fr-FR",
     "Merci pour votre commande. La traduction sera prête vendredi, à moins que de nouvelles "
     "questions ne se posent. Veuillez nous envoyer la liste des termes employés chez vous.",
     28,
     {"ISO-8859-1", "windows-1252"}},
    {"el-GR",
     "Σας ευχαριστούμε για την παραγγελία σας. Η μετάφραση θα είναι έτοιμη την Παρασκευή, αν "
     "δεν προκύψουν νέες ερωτήσεις. Παρακαλούμε στείλτε μας τον κατάλογο των όρων σας.",
     26,
     {"ISO-8859-7"}},
    {"ja-JP",
     "ご注文いただきありがとうございます。新しい質問がなければ、翻訳は金曜日までに完成します。"
     "御社で使われている用語の一覧をお送りください。",
     36,
     {"Shift_JIS", "EUC-JP"}},
};

// `utf8` in the encoding `name`, by ICU; the test's own text must fit it.
std::string Encoded(const std::string& utf8, const std::string& name) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open(name.c_str(), &status),
                                                                 &ucnv_close);
    EXPECT_TRUE(U_SUCCESS(status)) << name;
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
    std::string bytes(static_cast<std::size_t>(text.length()) * 4 + 8, '\0');
    const int32_t length =
        ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                        text.getBuffer(), text.length(), &status);
    EXPECT_TRUE(U_SUCCESS(status)) << name << " cannot hold the text";
    bytes.resize(static_cast<std::size_t>(length));
    return bytes;
}

int64_t Words(const DocumentText& document, const char* language) {
    DocumentSegmenter segmenter(FromUtf8(language));
    int64_t words = 0;
    for (const Segment& segment : segmenter.Split(document)) words += CountSegment(segment).words;
    return words;
}

// A document of `format` around `text`, declaring `declared` unless it is empty.
std::string Wrapped(DocumentFormat format, const std::string& text, const std::string& declared,
                    bool httpEquiv) {
    switch (format) {
        case DocumentFormat::Html: {
            std::string head;
            if (!declared.empty() && httpEquiv)
                head =
                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + declared +
                    "\">";
            else if (!declared.empty())
                head = "<meta charset=\"" + declared + "\">";
            return "<html><head>" + head + "</head><body><p>" + text + "</p></body></html>\n";
        }
        case DocumentFormat::Xml:
            return (declared.empty() ? ""s
                                     : "<?xml version=\"1.0\" encoding=\"" + declared + "\"?>\n") +
                   "<letter><p>" + text + "</p></letter>\n";
        case DocumentFormat::Po:
            return (declared.empty() ? ""s
                                     : "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; "
                                       "charset=" +
                                           declared + "\\n\"\n\n") +
                   "msgid \"" + text + "\"\nmsgstr \"\"\n";
        default:
            return text + "\n";
    }
}

constexpr DocumentFormat kFormats[] = {DocumentFormat::PlainText, DocumentFormat::Html,
                                       DocumentFormat::Xml, DocumentFormat::Po};

TEST(DocumentEncodingTest, LegacyEncodingsDeclaredOrNotCountAsTheirUtf8Twin) {
    for (const Letter& letter : kLetters) {
        for (DocumentFormat format : kFormats) {
            const DocumentText twin = test::Read(Wrapped(format, letter.text, "", false), format);
            ASSERT_EQ(Words(twin, letter.language), letter.words) << letter.language;
            for (const char* encoding : letter.encodings) {
                for (const bool declare : {false, true}) {
                    if (format == DocumentFormat::PlainText && declare) continue;
                    SCOPED_TRACE(std::string(letter.language) + " in " + encoding + " as format " +
                                 std::to_string(static_cast<int>(format)) +
                                 (declare ? ", declared" : ", detected"));
                    const std::string declared = declare ? encoding : "";
                    const DocumentText read = test::Read(
                        Encoded(Wrapped(format, letter.text, declared, letter.words % 2 == 0),
                                encoding),
                        format);
                    EXPECT_EQ(test::Blocks(read), test::Blocks(twin));
                    EXPECT_EQ(Words(read, letter.language), letter.words);
                    EXPECT_EQ(read.encoding.source, declare ? Source::Declared : Source::Detected);
                    if (declare) {
                        EXPECT_EQ(read.encoding.name, encoding);
                    }
                }
            }
        }
    }
}

TEST(DocumentEncodingTest, XliffIsReadInTheEncodingItDeclaresOrTheDetectorFinds) {
    for (const Letter& letter : kLetters) {
        const auto xliff = [&](const std::string& declaration) {
            return declaration +
                   "<xliff version=\"1.2\"><file><body><trans-unit id=\"a\"><source>" +
                   letter.text + "</source></trans-unit></body></file></xliff>";
        };
        const DocumentText twin = test::Read(xliff(""), DocumentFormat::Xliff);
        ASSERT_EQ(Words(twin, letter.language), letter.words) << letter.language;
        for (const char* encoding : letter.encodings) {
            for (const bool declare : {false, true}) {
                SCOPED_TRACE(std::string(letter.language) + " in " + encoding);
                const std::string declaration =
                    declare ? "<?xml version=\"1.0\" encoding=\""s + encoding + "\"?>" : "";
                const DocumentText read =
                    test::Read(Encoded(xliff(declaration), encoding), DocumentFormat::Xliff);
                EXPECT_EQ(test::Blocks(read), test::Blocks(twin));
                EXPECT_EQ(read.encoding.source, declare ? Source::Declared : Source::Detected);
            }
        }
    }
}

TEST(DocumentEncodingTest, UnicodeWithOrWithoutAByteOrderMarkCountsAsItsUtf8Twin) {
    const struct {
        const char* encoding;
        std::string mark;
        Source source;
    } cases[] = {
        {"UTF-8", "", Source::Utf8},
        {"UTF-8", "\xEF\xBB\xBF", Source::ByteOrderMark},
        {"UTF-16LE", "\xFF\xFE", Source::ByteOrderMark},
        {"UTF-16BE", "\xFE\xFF", Source::ByteOrderMark},
        // Without a mark: markup shows itself by its first "<", text by its zero bytes.
        {"UTF-16LE", "", Source::Detected},
        {"UTF-16BE", "", Source::Detected},
    };
    for (const Letter& letter : kLetters) {
        for (DocumentFormat format : kFormats) {
            const std::string utf8 = Wrapped(format, letter.text, "", false);
            const DocumentText twin = test::Read(utf8, format);
            for (const auto& c : cases) {
                SCOPED_TRACE(std::string(letter.language) + " in " + c.encoding + " as format " +
                             std::to_string(static_cast<int>(format)) +
                             (c.mark.empty() ? "" : ", marked"));
                const std::string bytes = c.mark + Encoded(utf8, c.encoding);
                // Japanese holds characters with a zero low byte ("一" U+4E00) and, as plain text
                // without a mark, too few ASCII characters to outweigh them.
                if (letter.language == "ja-JP"s && format == DocumentFormat::PlainText &&
                    c.source == Source::Detected) {
                    EXPECT_EQ(test::FailureOf([&] { test::Read(bytes, format); }),
                              L"Cannot tell its encoding: give --encoding");
                    continue;
                }
                const DocumentText read = test::Read(bytes, format);
                EXPECT_EQ(test::Blocks(read), test::Blocks(twin));
                EXPECT_EQ(Words(read, letter.language), letter.words);
                EXPECT_EQ(read.encoding.name, c.encoding);
                const bool markup = format == DocumentFormat::Html || format == DocumentFormat::Xml;
                EXPECT_EQ(read.encoding.source,
                          markup && c.source == Source::Detected ? Source::FirstBytes : c.source);
            }
        }
    }
}

TEST(DocumentEncodingTest, ADocumentWhoseEncodingCannotBeToldIsRefusedWithTheReason) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"too short", "caf\xE9"},
        {"no letters", "\x8E\x9A\xE8\xF9"},
        // Spanish in ISO-8859-1 or Polish in ISO-8859-2, equally likely to the detector.
        {"ambiguous",
         "ma\xF1"
         "ana se\xF1or"},
    };
    for (const auto& c : cases) {
        for (DocumentFormat format :
             {DocumentFormat::PlainText, DocumentFormat::Html, DocumentFormat::Xml}) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(
                test::FailureOf([&] { test::Read(Wrapped(format, c.bytes, "", false), format); }),
                L"Cannot tell its encoding: give --encoding");
        }
    }
}

TEST(DocumentEncodingTest, TheGivenEncodingWinsOverTheDetectorButNotOverADeclaration) {
    const Letter& russian = kLetters[0];
    const std::string koi8 = Encoded(russian.text, "KOI8-R");
    const std::string ambiguous =
        "ma\xF1"
        "ana se\xF1or";
    const struct {
        const char* name;
        DocumentFormat format;
        std::string bytes;
        std::string given;
        Source source;
        std::string encoding;
    } cases[] = {
        {"refused without", DocumentFormat::PlainText, ambiguous, "ISO-8859-2", Source::Given,
         "ISO-8859-2"},
        {"detected otherwise", DocumentFormat::PlainText, koi8, "windows-1251", Source::Given,
         "windows-1251"},
        {"declared in XML", DocumentFormat::Xml,
         Wrapped(DocumentFormat::Xml, koi8, "KOI8-R", false), "windows-1251", Source::Declared,
         "KOI8-R"},
        {"declared in HTML", DocumentFormat::Html,
         Wrapped(DocumentFormat::Html, koi8, "KOI8-R", true), "windows-1251", Source::Declared,
         "KOI8-R"},
        {"declared in PO", DocumentFormat::Po, Wrapped(DocumentFormat::Po, koi8, "KOI8-R", false),
         "windows-1251", Source::Declared, "KOI8-R"},
        {"UTF-16 without a mark", DocumentFormat::PlainText, Encoded(kLetters[6].text, "UTF-16BE"),
         "UTF-16BE", Source::Given, "UTF-16BE"},
        {"valid UTF-8", DocumentFormat::PlainText, russian.text, "KOI8-R", Source::Utf8, "UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DocumentSettings settings;
        settings.encoding = c.given;
        const DocumentText read = test::Read(c.bytes, c.format, settings);
        EXPECT_EQ(read.encoding.source, c.source);
        EXPECT_EQ(read.encoding.name, c.encoding);
    }
    DocumentSettings settings;
    settings.encoding = "ISO-8859-2";
    EXPECT_EQ(test::Blocks(test::Read(ambiguous, DocumentFormat::PlainText, settings)),
              test::Lines{L"ma\u0144ana se\u0144or"});
}

}  // namespace
}  // namespace orv::engine
