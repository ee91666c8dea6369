#include "GettextCorpus.h"

#include <stdio.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <unordered_set>

#include "engine/text/Utf8.h"

namespace orv::bench {

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Catalogues() {
    std::vector<fs::path> found;
    for (const char* folder :
         {"/usr/share/locale/de/LC_MESSAGES", "/usr/share/locale-langpack/de/LC_MESSAGES"}) {
        std::error_code absent;
        for (const auto& entry : fs::directory_iterator(folder, absent))
            if (entry.path().extension() == ".mo") found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The catalogue as PO text in UTF-8, empty when msgunfmt cannot read it.
std::string Unformat(const fs::path& catalogue) {
    const std::string command = "msgunfmt --no-wrap " + ShellQuoted(catalogue.string()) +
                                " 2>/dev/null | msgconv --no-wrap -t UTF-8 2>/dev/null";
    struct Close {
        void operator()(FILE* pipe) const { pclose(pipe); }
    };
    std::unique_ptr<FILE, Close> pipe(popen(command.c_str(), "r"));
    if (!pipe) return {};
    std::string text;
    char buffer[65536];
    for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
        text.append(buffer, read);
    return text;
}

// The content of a quoted PO string ("a\"b\n" gives a"b and a line break).
std::string Unquoted(std::string_view line) {
    const auto open = line.find('"'), close = line.rfind('"');
    std::string text;
    if (open == std::string_view::npos || close <= open) return text;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (line[i] != '\\' || i + 1 == close) {
            text += line[i];
            continue;
        }
        switch (char c = line[++i]) {
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'r':
                text += '\r';
                break;
            default:
                text += c;
        }
    }
    return text;
}

std::size_t Words(const std::string& text) {
    std::size_t words = 0;
    bool inWord = false, hasLetter = false;
    for (unsigned char c : text + ' ') {
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') {
            words += inWord && hasLetter;
            inWord = hasLetter = false;
        } else {
            inWord = true;
            hasLetter = hasLetter || std::isalpha(c) || c >= 0x80;
        }
    }
    return words;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ParsePo(std::string_view po) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string id, str;
    std::string* field = nullptr;
    bool fuzzy = false, plural = false, translated = false;
    auto finish = [&] {
        if (!id.empty() && !str.empty() && !fuzzy && !plural && Words(id) >= 2)
            pairs.emplace_back(id, str);
        id.clear();
        str.clear();
        field = nullptr;
        fuzzy = plural = translated = false;
    };
    while (!po.empty()) {
        const std::size_t end = std::min(po.find('\n'), po.size());
        std::string_view line = po.substr(0, end);
        po.remove_prefix(std::min(end + 1, po.size()));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const bool startsEntry = line.empty() || line[0] == '#' || line.starts_with("msgctxt") ||
                                 (line.starts_with("msgid ") && translated);
        if (startsEntry && (translated || line.empty())) finish();
        if (line.starts_with("#,") && line.find("fuzzy") != std::string_view::npos) fuzzy = true;
        if (line.empty() || line[0] == '#') continue;

        if (line[0] == '"') {
            if (field) *field += Unquoted(line);
        } else if (line.starts_with("msgid_plural") || line.starts_with("msgstr[")) {
            plural = true;
            field = nullptr;
        } else if (line.starts_with("msgid ")) {
            field = &id;
            *field = Unquoted(line);
        } else if (line.starts_with("msgstr ")) {
            field = &str;
            *field = Unquoted(line);
            translated = true;
        } else {
            field = nullptr;  // msgctxt and anything unknown
        }
    }
    finish();
    return pairs;
}

GettextCorpus LoadGettextCorpus(std::size_t heldOut, uint64_t seed) {
    if (std::system("command -v msgunfmt >/dev/null 2>&1 && command -v msgconv >/dev/null 2>&1"))
        throw std::runtime_error("msgunfmt not found: install the Debian package gettext");

    GettextCorpus result;
    std::vector<std::pair<std::string, std::string>> pairs;
    std::unordered_set<std::string> seen;
    for (const fs::path& catalogue : Catalogues()) {
        ++result.catalogues;
        for (auto& pair : ParsePo(Unformat(catalogue)))
            if (seen.insert(pair.first).second) pairs.push_back(std::move(pair));
    }
    result.pairs = pairs.size();

    std::mt19937_64 random(seed);  // Fisher-Yates: std::shuffle differs between libraries
    for (std::size_t i = pairs.size(); i > 1; --i) std::swap(pairs[i - 1], pairs[random() % i]);

    Corpus& corpus = result.corpus;
    corpus.tm.sourceLanguage = L"en-US";
    corpus.tm.targetLanguages = {L"de-DE"};
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        engine::Segment source{engine::FromUtf8(pairs[i].first), {}};
        if (i < heldOut)
            corpus.batch.push_back(std::move(source));
        else
            corpus.tm.units.push_back(
                {std::move(source), {{L"de-DE", {engine::FromUtf8(pairs[i].second), {}}}}});
    }
    return result;
}

}  // namespace orv::bench
