#pragma once
// How the component reaches the applications it drives: Tessera's application object and
// Word's. On Linux these give the embedded engine (and no Word); on Windows they go through
// COM. Tests replace them with fakes.

#include <memory>
#include <string>

namespace orv {

class TessappApplication;

// An object reached by late binding: the component only calls methods by name.
class LateBoundObject {
public:
    virtual ~LateBoundObject() = default;
    // Calls the method `name` with no arguments; throws AutomationError when it fails.
    virtual void CallMethod(const std::wstring& name) = 0;
};

class ObjectServices {
public:
    virtual ~ObjectServices() = default;

    // A new instance of "Tessapp.Application"; none, or an AutomationError, when it cannot
    // be created.
    virtual std::shared_ptr<TessappApplication> CreateTessera() = 0;
    // The running instance of "Tessapp.Application" (never a new one), or none.
    virtual std::shared_ptr<TessappApplication> LookUpTessera() = 0;

    // A new "Word.Application", or none.
    virtual std::shared_ptr<LateBoundObject> CreateWord() = 0;
    // The running "Word.Application", or none.
    virtual std::shared_ptr<LateBoundObject> LookUpWord() = 0;
};

// The object services of the running system, shared by every object that was given none.
std::shared_ptr<ObjectServices> DefaultObjectServices();

}  // namespace orv
