// The full path of the plugin's own library file.
#pragma once

#include <string>

namespace kestrova {

std::u16string PluginLibraryPath();

}  // namespace kestrova
