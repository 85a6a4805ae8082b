#include <iostream>
#include "support/creature_fixture.h"
namespace kestrova::test {
namespace {
using SpawnDino = CreatureTest;
TEST_F(SpawnDino, Dump)
{
    RunConsoleAs("1001", std::string("KV.SpawnDino ") + kRaptor + " " + kHelmet + " 3 150 0.5 1 0 0 1,0,3 F");
    for (auto& l : Trail()) std::cout << l << "\n";
    std::cout << "-----\n";
    Journal().Clear();
    RunConsoleAs("1001", std::string("KV.SpawnDinoStats ") + kRaptor + " \"\" 3 0 1 0 0 0 R 1 2 3 4 5 6");
    for (auto& l : Trail()) std::cout << l << "\n";
    std::cout << "-----\n";
    Journal().Clear();
    RunConsoleAs("1001", std::string("KV.SpawnDino ") + kRaptor + " \"\" 3 150 0.5 1 0 1 1,0,3 F");
    for (auto& l : Trail()) std::cout << l << "\n";
}
}
}
