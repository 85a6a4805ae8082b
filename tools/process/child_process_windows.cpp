#include <stdexcept>

#include <windows.h>
#include <psapi.h>

#include "child_process.h"

namespace kestrova::process {

struct ChildProcess::Platform {
    PROCESS_INFORMATION process{};
    HANDLE input = nullptr;   // the write end of the child's standard input
    HANDLE output = nullptr;  // the read end of its standard output and error
    std::optional<int> status;
};

void ChildProcess::PlatformDeleter::operator()(Platform* platform) const { delete platform; }

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

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args, OutputSink sink)
    : platform_(new Platform), sink_(std::move(sink))
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
    // The parent's ends stay out of the child.
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
        ReleaseHandles();
        throw std::runtime_error("cannot start " + program);
    }
    CloseOne(platform_->process.hThread);
    reader_ = std::thread([this] { ReadOutput(); });
}

void ChildProcess::ReleaseHandles()
{
    CloseOne(platform_->input);
    CloseOne(platform_->output);
    CloseOne(platform_->process.hProcess);
}

void ChildProcess::WriteInput(std::string_view text)
{
    while (!text.empty() && platform_->input != nullptr) {
        DWORD written = 0;
        if (!::WriteFile(platform_->input, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written == 0)
            return;
        text.remove_prefix(written);
    }
}

void ChildProcess::CloseInput() { CloseOne(platform_->input); }

std::size_t ChildProcess::ReadSome(char* buffer, std::size_t size)
{
    DWORD length = 0;
    if (!::ReadFile(platform_->output, buffer, static_cast<DWORD>(size), &length, nullptr))
        return 0;  // the child's end has closed
    return length;
}

// There are no signals to ask with: the process is ended.
void ChildProcess::Terminate() { Kill(); }

void ChildProcess::Kill()
{
    if (!platform_->status)
        ::TerminateProcess(platform_->process.hProcess, 1);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds wait)
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

std::optional<ProcessUsage> ChildProcess::Usage() const
{
    PROCESS_MEMORY_COUNTERS memory{};
    DWORD handles = 0;
    if (!::GetProcessMemoryInfo(platform_->process.hProcess, &memory, sizeof memory) ||
        !::GetProcessHandleCount(platform_->process.hProcess, &handles))
        return std::nullopt;
    return ProcessUsage{memory.WorkingSetSize, handles};
}

bool TerminateAsksToStop() { return false; }

std::optional<std::string> FindProgram(const std::string& name)
{
    char found[MAX_PATH];
    const DWORD length = ::SearchPathA(nullptr, name.c_str(), ".exe", MAX_PATH, found, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    return std::string(found, length);
}

}  // namespace kestrova::process
