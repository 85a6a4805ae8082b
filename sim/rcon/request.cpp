#include "rcon/request.h"

#include <atomic>

namespace sim::rcon {

struct Respond::State {
    Deliver deliver;
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

Respond::Respond(Deliver deliver)
    : state_(std::make_shared<State>())
{
    state_->deliver = std::move(deliver);
}

void Respond::operator()(std::vector<Reply> replies) const
{
    if (state_)  // not a moved-from copy
        state_->Once(std::move(replies));
}

}  // namespace sim::rcon
