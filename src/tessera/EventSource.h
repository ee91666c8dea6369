#pragma once
// Subscribers of one event. Subscribe hands back a Subscription that ends the subscription
// when it is reset or destroyed, so an object that lets go of an event source can never be
// called again, and a source that dies first leaves its subscriptions harmless.
// Raise calls every subscriber on the raising thread, in subscription order, before it
// returns.

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace orv {

class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset() noexcept {
        if (auto cancel = std::exchange(cancel_, {})) cancel();
    }
    bool active() const noexcept { return static_cast<bool>(cancel_); }

private:
    std::function<void()> cancel_;
};

template <typename... Args>
class EventSource {
public:
    using Handler = std::function<void(Args...)>;

    [[nodiscard]] Subscription Subscribe(Handler handler) {
        const uint64_t id = state_->nextId++;
        state_->handlers.emplace_back(id, std::move(handler));
        std::weak_ptr<State> weak = state_;
        return Subscription([weak, id] {
            if (auto state = weak.lock())
                std::erase_if(state->handlers, [id](const auto& h) { return h.first == id; });
        });
    }

    void Raise(Args... args) const {
        // A handler may unsubscribe (itself or another), or destroy this source, while the
        // event is being raised: the state is held for the whole call.
        const auto state = state_;
        auto snapshot = state->handlers;
        for (const auto& [id, handler] : snapshot) {
            if (IsSubscribed(*state, id)) handler(args...);
        }
    }

    std::size_t SubscriberCount() const { return state_->handlers.size(); }

private:
    struct State {
        uint64_t nextId = 1;
        std::vector<std::pair<uint64_t, Handler>> handlers;
    };

    static bool IsSubscribed(const State& state, uint64_t id) {
        for (const auto& h : state.handlers)
            if (h.first == id) return true;
        return false;
    }

    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace orv
