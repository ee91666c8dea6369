#pragma once
// What the stand-in's application object offers besides Tessera's own members: a way to ask
// the running (or next) analysis to stop, and why the latest job or TM open failed, in the
// stand-in's own words. The adapter reaches them only through this, so that it knows nothing
// of what stands behind them.

#include <string>

namespace orv::com {

class StandInExtras {
public:
    virtual ~StandInExtras() = default;

    // Any thread may call it; it only asks, the analysis stops at its next check.
    virtual void RequestCancel() = 0;
    // Empty when the latest job succeeded, or none ran.
    virtual std::wstring get_LastJobFailure() const = 0;
    // Empty when the latest TM opened, or none was opened.
    virtual std::wstring get_LastTmOpenFailure() const = 0;
};

}  // namespace orv::com
