// Microsoft's <corecrt_terminate.h>: terminate and its handler, which Wine declares in
// <eh.h>.
#pragma once
#include <eh.h>
