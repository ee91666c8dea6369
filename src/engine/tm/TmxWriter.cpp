#include "engine/tm/TmxWriter.h"

#include <string>
#include <string_view>

#include "engine/model/EngineError.h"
#include "engine/system/AtomicFileWriter.h"
#include "engine/system/FileFailure.h"
#include "engine/text/Utf8.h"
#include "engine/tm/TmUsers.h"
#include "engine/tm/TmxReader.h"
#include "platform/CodePoints.h"

namespace orv::engine {
namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;

bool IsXmlCharacter(char32_t code) {
    if (code < 0x20) return code == 0x09 || code == 0x0A || code == 0x0D;
    return IsScalarValue(code) && code != 0xFFFE && code != 0xFFFF;
}

// Collects the text and hands it on in large pieces; with no file it only collects.
class TmxOutput {
public:
    explicit TmxOutput(AtomicFileWriter* file = nullptr) : file_(file) {
        buffer_.reserve(kFlushSize);
    }

    void Raw(std::string_view text) {
        buffer_ += text;
        if (file_ && buffer_.size() >= kFlushSize) Flush();
    }

    // Text escaped for content (attribute = false) or for a double-quoted attribute value.
    // Characters XML 1.0 cannot hold at all become U+FFFD.
    void Escaped(std::wstring_view text, bool attribute = false) {
        std::size_t plain = 0;
        const auto emit = [&](std::size_t upTo) {
            AppendAsUtf8(buffer_, text.substr(plain, upTo - plain));
        };
        for (std::size_t i = 0, length = 1; i < text.size(); i += length) {
            const DecodedCodePoint c = DecodeCodePoint(text, i);
            length = c.length;
            const char* entity = nullptr;
            switch (c.value) {
                case U'&':
                    entity = "&amp;";
                    break;
                case U'<':
                    entity = "&lt;";
                    break;
                case U'>':
                    entity = "&gt;";
                    break;
                // A reader turns a raw CR into a line feed, and in an attribute a tab or a
                // line feed into a space.
                case U'\r':
                    entity = "&#xD;";
                    break;
                case U'"':
                    entity = attribute ? "&quot;" : nullptr;
                    break;
                case U'\n':
                    entity = attribute ? "&#xA;" : nullptr;
                    break;
                case U'\t':
                    entity = attribute ? "&#x9;" : nullptr;
                    break;
                default:
                    if (!c.wellFormed || !IsXmlCharacter(c.value)) entity = "\xEF\xBF\xBD";
            }
            if (entity == nullptr) continue;
            emit(i);
            buffer_ += entity;
            plain = i + length;
        }
        emit(text.size());
        if (file_ && buffer_.size() >= kFlushSize) Flush();
    }

    void Flush() {
        if (file_ == nullptr) return;
        file_->Write(buffer_);
        buffer_.clear();
    }

    std::string& text() { return buffer_; }

private:
    AtomicFileWriter* file_;
    std::string buffer_;
};

void WriteCode(TmxOutput& out, const InlineCode& code) {
    const char* element = "ph";
    std::string_view extra;
    switch (code.kind) {
        case InlineCode::Kind::Begin:
            element = "bpt";
            break;
        case InlineCode::Kind::End:
            element = "ept";
            break;
        // Which half of its pair an isolated code is, the model does not keep.
        case InlineCode::Kind::Isolated:
            element = "it", extra = " pos=\"begin\"";
            break;
        case InlineCode::Kind::Standalone:
            element = "ph";
            break;
    }
    out.Raw("<");
    out.Raw(element);
    if (!code.pairId.empty() &&
        (code.kind == InlineCode::Kind::Begin || code.kind == InlineCode::Kind::End)) {
        out.Raw(" i=\"");
        out.Escaped(code.pairId, true);
        out.Raw("\"");
    }
    out.Raw(extra);
    if (code.content.empty()) {
        out.Raw("/>");
        return;
    }
    out.Raw(">");
    out.Escaped(code.content);
    out.Raw("</");
    out.Raw(element);
    out.Raw(">");
}

void WriteSegment(TmxOutput& out, const Segment& segment) {
    out.Raw("<seg>");
    std::size_t nextCode = 0;
    std::size_t plain = 0;
    const std::wstring_view text = segment.text;
    for (std::size_t at = text.find(kCodeMark); at != std::wstring_view::npos;
         at = text.find(kCodeMark, at + 1)) {
        out.Escaped(text.substr(plain, at - plain));
        // A mark without a code has nothing to stand for and is dropped.
        if (nextCode < segment.codes.size()) WriteCode(out, segment.codes[nextCode++]);
        plain = at + 1;
    }
    out.Escaped(text.substr(plain));
    // Codes without a mark are kept, at the end, rather than lost.
    while (nextCode < segment.codes.size()) WriteCode(out, segment.codes[nextCode++]);
    out.Raw("</seg>");
}

void WriteVariant(TmxOutput& out, const std::wstring& language, const Segment& segment) {
    out.Raw("      <tuv xml:lang=\"");
    out.Escaped(language, true);
    out.Raw("\">");
    WriteSegment(out, segment);
    out.Raw("</tuv>\n");
}

void WriteTmx(TmxOutput& out, const TranslationMemory& tm) {
    if (!tm.units.empty() && tm.sourceLanguage.empty()) {
        RaiseEngineError(L"Cannot write a TM without a source language");
    }
    out.Raw(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<tmx version=\"1.4\">\n"
        "  <header creationtool=\"OrvBatchAnalyse engine\" creationtoolversion=\"1.0\""
        " segtype=\"sentence\" o-tmf=\"TMX\" adminlang=\"en-US\" srclang=\"");
    out.Escaped(tm.sourceLanguage.empty() ? L"*all*" : tm.sourceLanguage, true);
    out.Raw("\" datatype=\"plaintext\"");
    if (tm.targetLanguages.empty() && tm.users.empty()) {
        out.Raw("/>\n");
    } else {
        out.Raw(">\n");
        for (const std::wstring& language : tm.targetLanguages) {
            out.Raw("    <prop type=\"");
            out.Raw(kTmxTargetLanguageProperty);
            out.Raw("\">");
            out.Escaped(language);
            out.Raw("</prop>\n");
        }
        for (const TmUser& user : tm.users) {
            out.Raw("    <prop type=\"");
            out.Raw(kTmxUserProperty);
            out.Raw("\">");
            out.Escaped(user.name + L":" + FromUtf8(user.passwordHash));
            out.Raw("</prop>\n");
        }
        out.Raw("  </header>\n");
    }
    out.Raw("  <body>\n");
    for (const TranslationUnit& unit : tm.units) {
        if (unit.usageCount) {
            out.Raw("    <tu usagecount=\"" + std::to_string(*unit.usageCount) + "\">\n");
        } else {
            out.Raw("    <tu>\n");
        }
        WriteVariant(out, tm.sourceLanguage, unit.source);
        for (const Variant& target : unit.targets) {
            if (target.language.empty()) {
                RaiseEngineError(L"Cannot write a TM with a translation in no language");
            }
            WriteVariant(out, target.language, target.segment);
        }
        out.Raw("    </tu>\n");
    }
    out.Raw("  </body>\n</tmx>\n");
    out.Flush();
}

}  // namespace

std::string TmxText(const TranslationMemory& tm) {
    TmxOutput out;
    WriteTmx(out, tm);
    return std::move(out.text());
}

namespace {

// Writes through `write` to a temporary file beside `path`, which then takes its place.
template <class Write>
void ReplaceFile(const std::wstring& path, Write write) {
    try {
        AtomicFileWriter file(path);
        TmxOutput out(&file);
        write(out);
        file.Commit();
    } catch (const FileFailure& failure) {
        RaiseEngineError(L"Cannot write TM " + path + L": " + FileProblemText(failure.problem()));
    }
}

}  // namespace

void WriteTmxFile(const TranslationMemory& tm, const std::wstring& path) {
    ReplaceFile(path, [&tm](TmxOutput& out) { WriteTmx(out, tm); });
}

void WriteTmxTextFile(std::string_view text, const std::wstring& path) {
    ReplaceFile(path, [text](TmxOutput& out) {
        out.Raw(text);
        out.Flush();
    });
}

}  // namespace orv::engine
