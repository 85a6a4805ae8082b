#include "child_process.h"

namespace kestrova::process {

ChildProcess::~ChildProcess()
{
    CloseInput();
    if (!Wait(std::chrono::milliseconds(0))) {
        Terminate();
        if (!Wait(std::chrono::seconds(5))) {
            Kill();
            Wait(std::chrono::seconds(5));
        }
    }
    if (reader_.joinable())
        reader_.join();
    ReleaseHandles();
}

void ChildProcess::ReadOutput()
{
    char buffer[8192];
    for (;;) {
        const std::size_t length = ReadSome(buffer, sizeof buffer);
        sink_(std::string_view(buffer, length));
        if (length == 0)
            return;
    }
}

}  // namespace kestrova::process
