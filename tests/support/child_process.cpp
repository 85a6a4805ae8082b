#include "support/child_process.h"

namespace kestrova::test {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args)
    : process_(program, args, [this](std::string_view piece) { TakeOutput(piece); })
{
}

void ChildProcess::TakeOutput(std::string_view piece)
{
    std::lock_guard lock(mutex_);
    if (piece.empty())
        outputEnded_ = true;
    else
        AppendText(output_, piece);
    grew_.notify_all();
}

void AppendText(std::string& text, std::string_view more)
{
#ifdef _WIN32
    // A "\r\n" may be split between two reads.
    const std::size_t from = text.empty() ? 0 : text.size() - 1;
    text.append(more);
    for (std::size_t at = text.find("\r\n", from); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
#else
    text.append(more);
#endif
}

std::optional<std::string> ChildProcess::WaitForOutput(const std::regex& pattern, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::unique_lock lock(mutex_);
    for (;;) {
        std::smatch match;
        if (std::regex_search(output_, match, pattern))
            return match.size() > 1 ? match[1].str() : match[0].str();
        if (outputEnded_ || grew_.wait_until(lock, deadline) == std::cv_status::timeout) {
            if (std::regex_search(output_, match, pattern))
                return match.size() > 1 ? match[1].str() : match[0].str();
            return std::nullopt;
        }
    }
}

bool ChildProcess::WaitForEndOfOutput(std::chrono::milliseconds wait)
{
    std::unique_lock lock(mutex_);
    return grew_.wait_for(lock, wait, [this] { return outputEnded_; });
}

std::string ChildProcess::Output() const
{
    std::lock_guard lock(mutex_);
    return output_;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args, std::chrono::milliseconds wait)
{
    ChildProcess child(program, args);
    child.CloseInput();
    ProgramRun run;
    run.status = child.Wait(wait);
    if (!run.status)
        child.Terminate();
    child.WaitForEndOfOutput(std::chrono::seconds(2));
    run.output = child.Output();
    return run;
}

}  // namespace kestrova::test
