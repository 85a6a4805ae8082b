// Windows' file systems ignore case and Microsoft's sources include <Windows.h>.
#pragma once
#include <windows.h>
