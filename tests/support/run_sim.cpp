#include "support/run_sim.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/child_process.h"
#include "support/server_dir.h"

namespace kestrova::test {

SimRun RunSim(const std::vector<std::string>& args, std::string_view input)
{
    const auto dir = MakeTempDir("kestrova-run");
    const auto in = dir / "input.txt";
    const auto out = dir / "output.txt";
    std::ofstream(in, std::ios::binary) << input;

    std::string command = std::filesystem::path(KESTROVA_SIM_PATH).make_preferred().string();
    for (const std::string& arg : args)
        command += " " + arg;
    command += " < " + in.string() + " > " + out.string() + " 2>&1";

    SimRun run;
    run.succeeded = std::system(command.c_str()) == 0;
    std::ostringstream text;
    text << std::ifstream(out, std::ios::binary).rdbuf();
    AppendText(run.output, text.str());
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return run;
}

}  // namespace kestrova::test
