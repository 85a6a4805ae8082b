// A game member that did not resolve: the game no longer has it under that name
// (an update renamed or removed it). Raised where the member is used, instead of
// a call through null; the command ends there and its outcome names the member.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrova {

class MissingMember : public std::runtime_error {
public:
    explicit MissingMember(std::string_view name)
        : std::runtime_error("the game has no member " + std::string(name)), name_(name)
    {}

    // The member's full name.
    const std::string& Name() const noexcept { return name_; }

private:
    std::string name_;
};

// What `read` gives, or nothing when the game lacks a member it uses. Only for
// what describes (a name in a ledger line), never for what a command does.
template <typename Read>
auto UnlessMissing(Read&& read) -> std::optional<decltype(read())>
{
    try {
        return read();
    } catch (const MissingMember&) {
        return std::nullopt;
    }
}

}  // namespace kestrova
