#include "sim_process.h"

namespace kestrova::tools {
namespace {

constexpr std::size_t kHeadLines = 200;
constexpr std::size_t kTailLines = 40;

}  // namespace

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args)
    : process_(program, args, [this](std::string_view piece) { TakeOutput(piece); })
{
}

void SimProcess::TakeOutput(std::string_view piece)
{
    std::lock_guard lock(mutex_);
    if (piece.empty()) {
        if (!partial_.empty())
            TakeLine(std::move(partial_));
        ended_ = true;
        grew_.notify_all();
        return;
    }
    for (auto end = piece.find('\n'); end != piece.npos; end = piece.find('\n')) {
        partial_.append(piece.substr(0, end));
        if (!partial_.empty() && partial_.back() == '\r')
            partial_.pop_back();
        TakeLine(std::move(partial_));
        partial_.clear();
        piece.remove_prefix(end + 1);
    }
    partial_.append(piece);
    grew_.notify_all();
}

void SimProcess::TakeLine(std::string line)
{
    ++lines_;
    if (line.starts_with("[rcon] "))
        ++noticeLines_;
    if (head_.size() < kHeadLines)
        head_.push_back(line);
    tail_.push_back(std::move(line));
    if (tail_.size() > kTailLines)
        tail_.pop_front();
}

std::optional<std::string> SimProcess::WaitForLine(const std::regex& pattern, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::unique_lock lock(mutex_);
    for (;;) {
        for (const std::string& line : head_) {
            std::smatch match;
            if (std::regex_search(line, match, pattern))
                return match.size() > 1 ? match[1].str() : match[0].str();
        }
        if (ended_ || grew_.wait_until(lock, deadline) == std::cv_status::timeout)
            return std::nullopt;
    }
}

std::uint64_t SimProcess::Lines() const
{
    std::lock_guard lock(mutex_);
    return lines_;
}

std::uint64_t SimProcess::NoticeLines() const
{
    std::lock_guard lock(mutex_);
    return noticeLines_;
}

std::string SimProcess::Tail() const
{
    std::lock_guard lock(mutex_);
    std::string text;
    for (const std::string& line : tail_)
        text += "  | " + line + "\n";
    return text;
}

}  // namespace kestrova::tools
