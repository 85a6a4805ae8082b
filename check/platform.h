// What differs between platforms for a console program.
#pragma once

#include <string>
#include <vector>

namespace kestrova::check {

// The program's arguments after its name, as UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Lets the terminal show UTF-8 output.
void UseUtf8Output();

}  // namespace kestrova::check
