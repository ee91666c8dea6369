// Reaching the applications by ProgID: creating always makes a new object, looking up only
// ever finds a running one, and a class that is not there is none, not an error.

#include <gtest/gtest.h>

#include <windows.h>

#include "client/DoublesFixture.h"
#include "com/client/ComObjectServices.h"
#include "platform/AutomationError.h"
#include "platform/Platform.h"
#include "support/FakeTessera.h"
#include "support/TestDoublesDll.h"

namespace orv::test {
namespace {

using ObjectServicesTest = DoublesTest;

TEST_F(ObjectServicesTest, LookingUpTesseraNeverCreatesOne) {
    EXPECT_EQ(services.LookUpTessera(), nullptr);
    EXPECT_EQ(control.Number(L"TesseraCreated"), 0);
}

TEST_F(ObjectServicesTest, ACreatedTesseraIsFoundRunningUntilItQuits) {
    auto created = NewTessera();
    ASSERT_TRUE(created);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 1);

    auto found = services.LookUpTessera();
    ASSERT_TRUE(found);
    // The same application: what one wrapper opens, the other sees.
    folder.Write("main.tmv", "tm");
    found->get_CurrentTM()->Open(folder.wpath("main.tmv"), L"", L"", L"w");
    EXPECT_TRUE(created->get_CurrentTM()->get_IsOpen());
    EXPECT_EQ(control.Number(L"TesseraCreated"), 1);

    created->Quit();
    EXPECT_EQ(services.LookUpTessera(), nullptr);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 0);
}

// Whether this Wine can make windows at all: without a display it needs the null graphics
// driver (HKCU\Software\Wine\Drivers, Graphics = "null").
bool SystemMakesWindows() {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    if (!window) return false;
    DestroyWindow(window);
    return true;
}

TEST_F(ObjectServicesTest, ARunningTesseraHasAMainWindowTheComponentCanFind) {
    if (!SystemMakesWindows())
        GTEST_SKIP() << "no display driver: set Graphics=null under HKCU\\Software\\Wine\\Drivers";
    const auto platform = DefaultPlatform();
    auto tessera = NewTessera();
    EXPECT_NE(platform->FindWindowByClass(L"Tessapp2Class"), 0);
    tessera->Quit();
    EXPECT_EQ(platform->FindWindowByClass(L"Tessapp2Class"), 0);
}

TEST_F(ObjectServicesTest, EveryCreationMakesANewApplication) {
    auto first = NewTessera();
    auto second = NewTessera();
    EXPECT_EQ(control.Number(L"TesseraCreated"), 2);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 2);
}

TEST_F(ObjectServicesTest, AProgIdNobodyRegisteredGivesNone) {
    com::ComObjectServices nowhere(L"OrvTestDoubles.NoSuchApplication", L"OrvTestDoubles.NoWord");
    EXPECT_EQ(nowhere.CreateTessera(), nullptr);
    EXPECT_EQ(nowhere.LookUpTessera(), nullptr);
    EXPECT_EQ(nowhere.CreateWord(), nullptr);
    EXPECT_EQ(nowhere.LookUpWord(), nullptr);
}

TEST_F(ObjectServicesTest, WithTheDoublesUnregisteredNeitherApplicationExists) {
    ASSERT_EQ(TestDoublesDll::Get().Unregister(), S_OK);
    std::shared_ptr<TessappApplication> tessera;
    std::shared_ptr<LateBoundObject> word;
    EXPECT_FALSE(RaisedBy([&] { tessera = services.CreateTessera(); }));
    EXPECT_FALSE(RaisedBy([&] { word = services.CreateWord(); }));
    const bool lookedUp = services.LookUpTessera() || services.LookUpWord();
    ASSERT_EQ(TestDoublesDll::Get().Register(), S_OK);
    EXPECT_EQ(tessera, nullptr);
    EXPECT_EQ(word, nullptr);
    EXPECT_FALSE(lookedUp);
}

TEST_F(ObjectServicesTest, AProgIdWhoseClassHasNoServerGivesNone) {
    // A ProgID left behind by an uninstalled application.
    const wchar_t* progId = L"OrvTestDoubles.Orphan";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"OrvTestDoubles.Orphan\\CLSID", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t classId[] = L"{8C0F3B52-3E57-4C39-9C5B-0B7E6A3F4D21}";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(classId), sizeof classId);
    RegCloseKey(key);
    com::ComObjectServices orphaned(progId, progId);
    std::shared_ptr<TessappApplication> tessera;
    const auto error = RaisedBy([&] { tessera = orphaned.CreateTessera(); });
    RegDeleteTreeW(HKEY_CLASSES_ROOT, progId);
    RegDeleteKeyW(HKEY_CLASSES_ROOT, progId);
    EXPECT_FALSE(error) << (error ? Narrow(error->description()) : "");
    EXPECT_EQ(tessera, nullptr);
}

// A class that is there but whose server refuses to make the object.
struct RefusedCreation {
    const char* name;
    HRESULT refusal;
    friend void PrintTo(const RefusedCreation& c, std::ostream* out) { *out << c.name; }
};

class RefusedCreationTest : public DoublesTest,
                            public ::testing::WithParamInterface<RefusedCreation> {};

TEST_P(RefusedCreationTest, IsTheClientsCannotCreateObject) {
    control.Set(L"TesseraCreationError", static_cast<int32_t>(GetParam().refusal));
    control.Set(L"WordCreationError", static_cast<int32_t>(GetParam().refusal));
    const auto tessera = RaisedBy([&] { services.CreateTessera(); });
    const auto word = RaisedBy([&] { services.CreateWord(); });
    ASSERT_TRUE(tessera);
    EXPECT_EQ(tessera->number(), kErrCannotCreateObject);
    EXPECT_EQ(tessera->description(), RuntimeErrorMessage(kErrCannotCreateObject));
    ASSERT_TRUE(word);
    EXPECT_EQ(word->number(), kErrCannotCreateObject);
    EXPECT_EQ(control.Number(L"TesseraRunning"), 0);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedCreationTest,
                         ::testing::Values(RefusedCreation{"Failure", E_FAIL},
                                           RefusedCreation{"OutOfMemory", E_OUTOFMEMORY},
                                           RefusedCreation{"AccessDenied", E_ACCESSDENIED},
                                           RefusedCreation{"ServerFailed",
                                                           CO_E_SERVER_EXEC_FAILURE}),
                         [](const auto& named) { return std::string(named.param.name); });

TEST_F(ObjectServicesTest, AClassThatTurnsOutUnregisteredWhenCreatedGivesNone) {
    control.Set(L"TesseraCreationError", static_cast<int32_t>(REGDB_E_CLASSNOTREG));
    std::shared_ptr<TessappApplication> tessera;
    EXPECT_FALSE(RaisedBy([&] { tessera = services.CreateTessera(); }));
    EXPECT_EQ(tessera, nullptr);
}

TEST_F(ObjectServicesTest, ACreatedWordRunsUntilItsQuitIsCalledByName) {
    EXPECT_EQ(services.LookUpWord(), nullptr);
    auto word = services.CreateWord();
    ASSERT_TRUE(word);
    EXPECT_EQ(control.Number(L"WordCreated"), 1);
    EXPECT_TRUE(control.Flag(L"WordRunning"));
    EXPECT_TRUE(services.LookUpWord());

    word->CallMethod(L"Quit");
    EXPECT_EQ(control.Number(L"WordQuit"), 1);
    EXPECT_FALSE(control.Flag(L"WordRunning"));
    EXPECT_EQ(services.LookUpWord(), nullptr);
}

TEST_F(ObjectServicesTest, AWordTheUserStartedIsFoundWithoutCreatingOne) {
    control.Set(L"WordRunning", true);
    EXPECT_TRUE(services.LookUpWord());
    EXPECT_EQ(control.Number(L"WordCreated"), 0);
    EXPECT_EQ(control.Number(L"WordQuit"), 0);
}

TEST_F(ObjectServicesTest, AMethodWordDoesNotKnowFailsWithTheSystemsNumber) {
    auto word = services.CreateWord();
    ASSERT_TRUE(word);
    const auto error = RaisedBy([&] { word->CallMethod(L"Activate"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), static_cast<int32_t>(DISP_E_UNKNOWNNAME));
}

TEST_F(ObjectServicesTest, CallingAWordThatHasQuitIsAnErrorNotACrash) {
    auto word = services.CreateWord();
    ASSERT_TRUE(word);
    word->CallMethod(L"Quit");
    const auto error = RaisedBy([&] { word->CallMethod(L"Quit"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), static_cast<int32_t>(RPC_E_DISCONNECTED));
    EXPECT_EQ(control.Number(L"WordQuit"), 1);
}

TEST(DefaultObjectServicesTest, AreOneComObjectServicesForTheWholeProcess) {
    const auto services = DefaultObjectServices();
    EXPECT_EQ(services, DefaultObjectServices());
    EXPECT_NE(dynamic_cast<com::ComObjectServices*>(services.get()), nullptr);
}

}  // namespace
}  // namespace orv::test
