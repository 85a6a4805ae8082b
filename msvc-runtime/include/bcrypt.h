// Wine's <bcrypt.h>, with the status test Windows' SDK has.
#pragma once
#include_next <bcrypt.h>
#ifndef BCRYPT_SUCCESS
#define BCRYPT_SUCCESS(Status) (((NTSTATUS)(Status)) >= 0)
#endif
