#include <stdexcept>

#include <windows.h>
#include <psapi.h>

#include "sim_process.h"

namespace kestrova::tools {

struct SimProcess::Platform {
    PROCESS_INFORMATION process{};
    HANDLE input = nullptr;   // the write end of the child's standard input
    HANDLE output = nullptr;  // the read end of its standard output and error
    std::optional<int> status;
};

namespace {

void CloseOne(HANDLE& handle)
{
    if (handle != nullptr)
        ::CloseHandle(handle);
    handle = nullptr;
}

// One argument as the C runtime's command-line parser reads it back.
std::string Quoted(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

}  // namespace

SimProcess::SimProcess(const std::string& program, const std::vector<std::string>& args)
    : platform_(std::make_unique<Platform>())
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE childInput = nullptr, childOutput = nullptr;
    if (!::CreatePipe(&childInput, &platform_->input, &inherit, 0))
        throw std::runtime_error("CreatePipe failed");
    if (!::CreatePipe(&platform_->output, &childOutput, &inherit, 0)) {
        CloseOne(childInput);
        CloseOne(platform_->input);
        throw std::runtime_error("CreatePipe failed");
    }
    ::SetHandleInformation(platform_->input, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(platform_->output, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childOutput;
    std::string commandLine = Quoted(program);
    for (const std::string& arg : args)
        commandLine += " " + Quoted(arg);
    const BOOL started = ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &platform_->process);
    CloseOne(childInput);
    CloseOne(childOutput);
    if (!started) {
        CloseOne(platform_->input);
        CloseOne(platform_->output);
        throw std::runtime_error("cannot start " + program);
    }
    CloseOne(platform_->process.hThread);
    reader_ = std::thread([this] { ReadOutput(); });
}

SimProcess::~SimProcess()
{
    CloseOne(platform_->input);
    if (!Wait(std::chrono::seconds(5)))
        Kill();
    Wait(std::chrono::seconds(5));
    if (reader_.joinable())
        reader_.join();
    CloseOne(platform_->output);
    CloseOne(platform_->process.hProcess);
}

std::size_t SimProcess::ReadSome(char* buffer, std::size_t size)
{
    DWORD length = 0;
    if (!::ReadFile(platform_->output, buffer, static_cast<DWORD>(size), &length, nullptr))
        return 0;  // the child's end has closed
    return length;
}

void SimProcess::WriteInput(std::string_view text)
{
    while (!text.empty() && platform_->input != nullptr) {
        DWORD written = 0;
        if (!::WriteFile(platform_->input, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written == 0)
            return;
        text.remove_prefix(written);
    }
}

std::optional<int> SimProcess::Wait(std::chrono::milliseconds wait)
{
    if (platform_->status)
        return platform_->status;
    if (::WaitForSingleObject(platform_->process.hProcess, static_cast<DWORD>(wait.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(platform_->process.hProcess, &code);
    platform_->status = static_cast<int>(code);
    return platform_->status;
}

void SimProcess::Kill()
{
    if (!platform_->status)
        ::TerminateProcess(platform_->process.hProcess, 1);
}

std::optional<ProcessUsage> SimProcess::Usage() const
{
    PROCESS_MEMORY_COUNTERS memory{};
    DWORD handles = 0;
    if (!::GetProcessMemoryInfo(platform_->process.hProcess, &memory, sizeof memory) ||
        !::GetProcessHandleCount(platform_->process.hProcess, &handles))
        return std::nullopt;
    return ProcessUsage{memory.WorkingSetSize, handles};
}

}  // namespace kestrova::tools
