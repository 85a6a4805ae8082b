// Microsoft's <synchapi.h> declares the slim locks, condition variables and one-time
// initialisation, which Wine declares in <winbase.h>.
#pragma once
#include <windows.h>
#include_next <synchapi.h>
