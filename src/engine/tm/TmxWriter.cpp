#include "engine/tm/TmxWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/model/EngineError.h"
#include "engine/tm/TmUsers.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/Utf8.h"
#include "platform/CodePoints.h"
#include "platform/NarrowText.h"

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
    explicit TmxOutput(std::FILE* file = nullptr) : file_(file) { buffer_.reserve(kFlushSize); }

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
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
            throw std::system_error(errno, std::generic_category());
        }
        buffer_.clear();
    }

    std::string& text() { return buffer_; }

private:
    std::FILE* file_;
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

std::wstring WriteFailure(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return L"the folder does not exist";
        case EACCES:
        case EPERM:
        case EROFS:
            return L"permission denied";
        case ENOSPC:
            return L"the disk is full";
        case EISDIR:
            return L"a folder of that name is in the way";
        default:
            return L"the file cannot be written";
    }
}

// Removes the temporary file unless it became the TM.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string name) : name_(std::move(name)) {}
    ~TemporaryFile() {
        if (file_) std::fclose(file_);
        // Nothing more can be done about a leftover here.
        if (created_ && !committed_) std::remove(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Open() {
        // "x": never a file that someone else created under the same name.
        file_ = std::fopen(name_.c_str(), "wbx");
        // A C runtime older than C11 refuses the mode; the random name must do alone there.
        std::error_code unknown;
        if (file_ == nullptr && errno == EINVAL && !std::filesystem::exists(name_, unknown)) {
            file_ = std::fopen(name_.c_str(), "wb");
        }
        created_ = file_ != nullptr;
        return created_;
    }
    std::FILE* file() const { return file_; }
    int Close() {
        const int result = std::fclose(file_);
        file_ = nullptr;
        return result;
    }
    const std::string& name() const { return name_; }
    void Commit() { committed_ = true; }

private:
    std::string name_;
    std::FILE* file_ = nullptr;
    bool created_ = false;
    bool committed_ = false;
};

std::string TemporaryNameBeside(const std::string& target) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return target + "." + std::to_string(random() % 1000000u) + ".tmp";
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
    const std::wstring failure = L"Cannot write TM " + path + L": ";
    const std::optional<std::string> narrow = ToNarrowExactly(path);
    if (!narrow || narrow->empty()) {
        RaiseEngineError(failure + L"the path is not a file name this system can use");
    }
    std::optional<TemporaryFile> temporary;
    int openError = 0;
    for (int attempt = 0; attempt < 8 && !temporary; ++attempt) {
        temporary.emplace(TemporaryNameBeside(*narrow));
        if (!temporary->Open()) {
            openError = errno;
            temporary.reset();
            if (openError != EEXIST) break;
        }
    }
    if (!temporary) RaiseEngineError(failure + WriteFailure(openError));
    // The new file takes the old one's permissions: a TM only its owner could read stays so.
    struct stat replaced {};
    if (::stat(narrow->c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode))
        ::fchmod(fileno(temporary->file()), replaced.st_mode & 07777);

    try {
        TmxOutput out(temporary->file());
        write(out);
    } catch (const std::system_error& error) {
        RaiseEngineError(failure + WriteFailure(error.code().value()));
    }
    // On disk before the rename, or a crash soon after could leave the TM's name on an empty file.
    if (std::fflush(temporary->file()) != 0 || ::fsync(fileno(temporary->file())) != 0)
        RaiseEngineError(failure + WriteFailure(errno));
    if (temporary->Close() != 0) RaiseEngineError(failure + WriteFailure(errno));

    std::error_code renamed;
    std::filesystem::rename(temporary->name(), *narrow, renamed);
    if (renamed) RaiseEngineError(failure + WriteFailure(renamed.value()));
    temporary->Commit();
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
