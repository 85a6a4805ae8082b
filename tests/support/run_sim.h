// Runs the built kestrova-sim as a user would, input from a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrova::test {

struct SimRun {
    bool succeeded = false;  // exit status 0
    std::string output;      // standard output and standard error together
};

// Arguments are passed unquoted: they must hold no blanks.
SimRun RunSim(const std::vector<std::string>& args, std::string_view input);

}  // namespace kestrova::test
