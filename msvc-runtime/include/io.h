// Wine's <io.h>, without its open and sopen macros, which rename every member of that
// name (a socket's open, say). Visual Studio's POSIX names come from a library of
// aliases that this build does not link: use _open.
#pragma once
#include_next <io.h>
#undef open
#undef sopen
