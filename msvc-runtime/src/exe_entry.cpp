// A console program's entry point: arguments and environment from ucrtbase.dll, the
// module's static objects, main, and exit with its status (which runs the module's
// atexit table, registered with the process's).
#include <corecrt_startup.h>
#include <stdlib.h>

#include "module_start.h"

extern "C" int __cdecl main(int argc, char** argv, char** envp);

namespace {
void __cdecl EndExe() { msvc_runtime::EndModule(); }
}  // namespace

extern "C" int __cdecl mainCRTStartup() {
  _set_app_type(_crt_console_app);
  if (_configure_narrow_argv(_crt_argv_unexpanded_arguments) != 0 || _initialize_narrow_environment() != 0 ||
      _crt_atexit(EndExe) != 0 || !msvc_runtime::StartModule()) {
    _exit(255);
  }
  exit(main(*__p___argc(), *__p___argv(), _get_initial_narrow_environment()));
}
