// Wine's <winsock2.h>, with SO_EXCLUSIVEADDRUSE an int, as setsockopt takes it and
// Windows' SDK defines it (Wine's is unsigned).
#pragma once
#include_next <winsock2.h>
#undef SO_EXCLUSIVEADDRUSE
#define SO_EXCLUSIVEADDRUSE ((int)(~SO_REUSEADDR))
