#include "client/DoublesFixture.h"

namespace orv::test {

std::shared_ptr<TessappApplication> DoublesTest::NewTessera() {
    auto tessera = services.CreateTessera();
    EXPECT_TRUE(tessera) << "no Tessera double was created";
    return tessera;
}

std::shared_ptr<TessappTM> DoublesTest::OpenedTM(
    const std::shared_ptr<TessappApplication>& tessera) {
    folder.Write("main.tmv", "tm");
    auto tm = tessera->get_CurrentTM();
    tm->Open(folder.wpath("main.tmv"), L"anna", L"", L"w");
    return tm;
}

std::wstring DoublesTest::JobFile(int documents) {
    std::string text = "[Analyse]\r\nLogFile = \"" + (folder.path() / "run.log").string() +
                       "\"\r\nTasks = 1\r\n\r\n[Task1]\r\nTask = Analyse\r\n";
    for (int i = 1; i <= documents; ++i) {
        const std::string name = "doc" + std::to_string(i) + ".rtf";
        text += "File" + std::to_string(i) + " = \"" + (folder.path() / name).string() + "\"\r\n";
    }
    folder.Write("job.txt", text);
    return folder.wpath("job.txt");
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

}  // namespace orv::test
