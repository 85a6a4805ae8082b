#include "rcon/request.h"

#include <atomic>

namespace sim::rcon {

struct Respond::State {
    Deliver deliver;
    HangUp hangUp;
    std::atomic<bool> done = false;

    void Once(std::vector<Reply> replies)
    {
        if (!done.exchange(true))
            deliver(std::move(replies));
    }

    ~State()
    {
        try {
            Once({});
        } catch (...) {
            // Nothing can be answered any more; the connection is going away.
        }
    }
};

Respond::Respond(Deliver deliver, HangUp hangUp)
    : state_(std::make_shared<State>())
{
    state_->deliver = std::move(deliver);
    state_->hangUp = std::move(hangUp);
}

void Respond::HangUpInstead() const
{
    if (!state_)
        return;
    if (!state_->hangUp) {
        state_->Once({});
    } else if (!state_->done.exchange(true)) {
        state_->hangUp();
    }
}

void Respond::operator()(std::vector<Reply> replies) const
{
    if (state_)  // not a moved-from copy
        state_->Once(std::move(replies));
}

}  // namespace sim::rcon
