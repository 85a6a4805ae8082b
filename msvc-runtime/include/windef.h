// Wine's <windef.h>, without its "inline" macro, which breaks C++ under clang-cl.
#pragma once
#include_next <windef.h>
#undef inline
