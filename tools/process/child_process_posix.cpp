#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "child_process.h"

extern char** environ;

namespace kestrova::process {

struct ChildProcess::Platform {
    pid_t pid = -1;
    int input = -1;   // the write end of the child's standard input
    int output = -1;  // the read end of its standard output and error
    std::optional<int> status;
};

void ChildProcess::PlatformDeleter::operator()(Platform* platform) const { delete platform; }

namespace {

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args, OutputSink sink)
    : platform_(new Platform), sink_(std::move(sink))
{
    // A child that has closed its input must not end the parent with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);

    int in[2], out[2];
    if (::pipe(in) != 0)
        throw std::runtime_error("pipe failed");
    if (::pipe(out) != 0) {
        CloseFd(in[0]);
        CloseFd(in[1]);
        throw std::runtime_error("pipe failed");
    }
    // The parent's ends stay out of this and every other child.
    ::fcntl(in[1], F_SETFD, FD_CLOEXEC);
    ::fcntl(out[0], F_SETFD, FD_CLOEXEC);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawn_file_actions_addclose(&actions, in[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);

    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const int failed = ::posix_spawn(&platform_->pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    CloseFd(in[0]);
    CloseFd(out[1]);
    platform_->input = in[1];
    platform_->output = out[0];
    if (failed != 0) {
        ReleaseHandles();
        throw std::runtime_error("cannot start " + program);
    }
    reader_ = std::thread([this] { ReadOutput(); });
}

void ChildProcess::ReleaseHandles()
{
    CloseFd(platform_->input);
    CloseFd(platform_->output);
}

void ChildProcess::WriteInput(std::string_view text)
{
    while (!text.empty() && platform_->input >= 0) {
        const ssize_t written = ::write(platform_->input, text.data(), text.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

void ChildProcess::CloseInput() { CloseFd(platform_->input); }

std::size_t ChildProcess::ReadSome(char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t length = ::read(platform_->output, buffer, size);
        if (length < 0 && errno == EINTR)
            continue;
        return length > 0 ? static_cast<std::size_t>(length) : 0;
    }
}

void ChildProcess::Terminate()
{
    if (!platform_->status)
        ::kill(platform_->pid, SIGTERM);
}

void ChildProcess::Kill()
{
    if (!platform_->status)
        ::kill(platform_->pid, SIGKILL);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!platform_->status) {
        int status = 0;
        const pid_t done = ::waitpid(platform_->pid, &status, WNOHANG);
        if (done == platform_->pid) {
            platform_->status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if ((done < 0 && errno != EINTR) || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return platform_->status;
}

// From /proc, where there is one.
std::optional<ProcessUsage> ChildProcess::Usage() const
{
    const std::filesystem::path proc = "/proc/" + std::to_string(platform_->pid);
    std::ifstream status(proc / "status");
    ProcessUsage usage;
    bool found = false;
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) {
            usage.residentBytes = std::stoull(line.substr(6)) * 1024;  // in kB
            found = true;
        }
    }
    if (!found)
        return std::nullopt;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(proc / "fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++usage.openFiles;
    return usage;
}

bool TerminateAsksToStop() { return true; }

std::optional<std::string> FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/bin:/bin";
    while (!dirs.empty()) {
        const auto colon = dirs.find(':');
        const std::filesystem::path candidate = std::filesystem::path(dirs.substr(0, colon)) / name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
        dirs = colon == dirs.npos ? std::string_view() : dirs.substr(colon + 1);
    }
    return std::nullopt;
}

}  // namespace kestrova::process
