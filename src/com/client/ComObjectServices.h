#pragma once
// The object services of Windows: Tessera's and Word's application objects reached by COM
// through their ProgIDs, "Tessapp.Application" and "Word.Application". Stateless; the
// objects it makes belong to the calling thread's apartment, which the caller must have
// entered (CoInitializeEx), as every COM client must.
//
// Creating (CoCreateInstance, CLSCTX_SERVER) always asks for a new object. A class that is
// not registered gives none; any other failure to create throws AutomationError 429, the
// number an automation client meets when CreateObject fails. Looking up (GetActiveObject)
// never creates and never throws: an object that is not running, or cannot be reached, is
// none.

#include <string>

#include "tessera/ObjectServices.h"

namespace orv::com {

class ComObjectServices final : public ObjectServices {
public:
    // The ProgIDs are those of the real applications; tests may point them elsewhere.
    explicit ComObjectServices(std::wstring tesseraProgId = L"Tessapp.Application",
                               std::wstring wordProgId = L"Word.Application");

    std::shared_ptr<TessappApplication> CreateTessera() override;
    std::shared_ptr<TessappApplication> LookUpTessera() override;
    std::shared_ptr<LateBoundObject> CreateWord() override;
    std::shared_ptr<LateBoundObject> LookUpWord() override;

private:
    std::wstring tesseraProgId_;
    std::wstring wordProgId_;
};

}  // namespace orv::com
