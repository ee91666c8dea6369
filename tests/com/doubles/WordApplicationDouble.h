#pragma once
// The Word double ("Word.Application"): it only knows Quit. Like Word it registers itself
// as the running instance of its class when it starts and revokes that on Quit, after which
// it answers as a server that has gone. Creations and Quit calls are counted in the
// doubles' state; a Word "started by the user" (the control's WordRunning) is not counted
// as created, but a Quit of it is counted like any other.

#include <wrl/client.h>

#include "DispatchObject.h"

namespace orv::testdoubles {

class WordApplicationDouble final : public DispatchObject {
public:
    // The class factory's entry: a Word started through automation.
    static HRESULT Create(REFIID iid, void** object);
    static Microsoft::WRL::ComPtr<WordApplicationDouble> StartedByUser();

    WordApplicationDouble();
    ~WordApplicationDouble() override;

    // Ends this Word as the user closing it would: no longer running, nothing counted.
    void EndQuietly() noexcept;
    bool HasQuit() const noexcept { return quit_; }

protected:
    bool Disconnected() const override { return quit_; }

private:
    static Microsoft::WRL::ComPtr<WordApplicationDouble> Start();

    bool quit_ = false;
    RunningObjectRegistration running_;
};

}  // namespace orv::testdoubles
