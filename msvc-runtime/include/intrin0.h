// The compiler intrinsics Microsoft's standard library uses: clang declares them all.
#pragma once
#include <intrin.h>
