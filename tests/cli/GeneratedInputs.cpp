#include "GeneratedInputs.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace orv::cli::test {
namespace {

namespace fs = std::filesystem;

const char* const kWords[] = {"the",   "file",   "menu",  "opens",  "a",      "dialog",   "save",
                              "print", "window", "close", "select", "option", "settings", "user"};

}  // namespace

void WriteLargeBatch(const fs::path& folder, int documents) {
    std::mt19937 random(7);
    fs::create_directories(folder);
    for (int d = 0; d < documents; ++d) {
        std::ofstream out(folder / ("doc" + std::to_string(1000 + d) + ".txt"));
        for (int s = 0; s < 100; ++s) {
            for (int w = 0; w < 12; ++w) out << kWords[random() % std::size(kWords)] << ' ';
            out << "end.\n";
        }
        if (!out) throw std::runtime_error("cannot write the batch in " + folder.string());
    }
}

void WriteLargeTmx(const fs::path& file, int units) {
    std::mt19937 random(11);
    std::ofstream out(file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n"
           "<header creationtool=\"test\" creationtoolversion=\"1\" segtype=\"sentence\" "
           "o-tmf=\"tmx\" adminlang=\"en-GB\" srclang=\"en-GB\" datatype=\"plaintext\"/>\n"
           "<body>\n";
    for (int u = 0; u < units; ++u) {
        std::string sentence = "Unit " + std::to_string(u);
        for (int w = 0; w < 8; ++w)
            sentence += std::string(" ") + kWords[random() % std::size(kWords)];
        out << "<tu><tuv xml:lang=\"en-GB\"><seg>" << sentence
            << ".</seg></tuv><tuv xml:lang=\"de-DE\"><seg>Einheit " << u << " " << sentence
            << ".</seg></tuv></tu>\n";
    }
    out << "</body>\n</tmx>\n";
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace orv::cli::test
