// Microsoft's <new.h>: operator new's declarations and the new handler.
#pragma once
#include <vcruntime_new.h>
