#include <string>
#include <vector>

#include "simulator.h"

int main(int argc, char** argv)
{
    return sim::RunSimulator(std::vector<std::string>(argv + 1, argv + argc), KESTROVA_DEFAULT_SERVER_DIR);
}
