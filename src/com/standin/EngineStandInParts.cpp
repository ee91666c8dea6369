// What OrvTesseraEngine.dll serves: an engine application with a control of its own, whose
// cancel request and failure texts are the stand-in's extras.
#include <memory>
#include <utility>

#include "com/standin/StandInParts.h"
#include "engine/app/EngineApplication.h"
#include "engine/app/EngineControl.h"

namespace orv::com {
namespace {

class EngineControlExtras final : public StandInExtras {
public:
    explicit EngineControlExtras(std::shared_ptr<engine::EngineControl> control)
        : control_(std::move(control)) {}

    void RequestCancel() override { control_->RequestCancel(); }
    std::wstring get_LastJobFailure() const override { return control_->LastJobFailure(); }
    std::wstring get_LastTmOpenFailure() const override { return control_->LastTmOpenFailure(); }

private:
    std::shared_ptr<engine::EngineControl> control_;
};

}  // namespace

StandInParts CreateStandInParts() {
    auto application = std::make_shared<engine::EngineApplication>();
    auto extras = std::make_shared<EngineControlExtras>(application->control());
    return {std::move(application), std::move(extras)};
}

}  // namespace orv::com
