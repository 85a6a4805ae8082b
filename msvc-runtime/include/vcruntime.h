// What Microsoft's standard library expects of the compiler's runtime header: Wine's
// C runtime headers give the C types, this adds the few macros they lack.
#pragma once
#include <corecrt.h>
#include <vadefs.h>

#ifndef _CRT_PACKING
#define _CRT_PACKING 8
#endif
#ifndef _HAS_EXCEPTIONS
#define _HAS_EXCEPTIONS 1
#endif
#ifndef __CRTDECL
#define __CRTDECL __cdecl
#endif
#ifndef _VCRTIMP
#define _VCRTIMP __declspec(dllimport)
#endif
#ifndef _CRTIMP2
#define _CRTIMP2 __declspec(dllimport)
#endif
// msvcp140.dll's satellites: msvcp140_1.dll (memory resources), msvcp140_2.dll
// (special maths) and msvcp140_codecvt_ids.dll.
#ifndef _CRT_SATELLITE_1
#define _CRT_SATELLITE_1 __declspec(dllimport)
#endif
#ifndef _CRT_SATELLITE_2
#define _CRT_SATELLITE_2 __declspec(dllimport)
#endif
#ifndef _CRT_SATELLITE_CODECVT_IDS
#define _CRT_SATELLITE_CODECVT_IDS __declspec(dllimport)
#endif
// The ids of the char16_t and char32_t conversion facets, which Wine has no
// msvcp140_codecvt_ids.dll for: each module's own (stl/src/ulocale.cpp).
#ifndef _CRT_SATELLITE_CODECVT_IDS_NOIMPORT
#define _CRT_SATELLITE_CODECVT_IDS_NOIMPORT
#endif
// msvcp140.dll's C-named entries; and no process-global marking outside .NET.
#ifndef _MRTIMP2
#define _MRTIMP2 __declspec(dllimport)
#endif
#ifndef _PGLOBAL
#define _PGLOBAL
#endif
#ifndef _MSVC_CONSTEXPR
#define _MSVC_CONSTEXPR
#endif
// Calling conventions that differ only for the .NET runtime's code.
#define __CLR_OR_THIS_CALL
#define __CLRCALL_OR_CDECL __cdecl
#define __CLRCALL_PURE_OR_CDECL __cdecl
// The language level, from the compiler's /std option.
#ifndef _HAS_CXX17
#if _MSVC_LANG > 201402L
#define _HAS_CXX17 1
#else
#define _HAS_CXX17 0
#endif
#endif
#ifndef _HAS_CXX20
#if _MSVC_LANG > 201703L
#define _HAS_CXX20 1
#else
#define _HAS_CXX20 0
#endif
#endif
#ifndef _HAS_CXX23
#if _MSVC_LANG > 202002L
#define _HAS_CXX23 1
#else
#define _HAS_CXX23 0
#endif
#endif
#ifndef _HAS_NODISCARD
#define _HAS_NODISCARD 1
#endif
#if _HAS_NODISCARD
#define _NODISCARD [[nodiscard]]
#else
#define _NODISCARD
#endif
#define _VCRT_NOALIAS __declspec(noalias)
#define _VCRT_RESTRICT __declspec(restrict)
#define _VCRT_ALLOCATOR __declspec(allocator)
#define _CRT_GUARDOVERFLOW
#define _CRT_STRINGIZE_(x) #x
#define _CRT_STRINGIZE(x) _CRT_STRINGIZE_(x)
#define _CRT_WIDE_(s) L##s
#define _CRT_WIDE(s) _CRT_WIDE_(s)
#define _CRT_CONCATENATE_(a, b) a##b
#define _CRT_CONCATENATE(a, b) _CRT_CONCATENATE_(a, b)
#define _CRT_UNPARENTHESIZE_(...) __VA_ARGS__
#define _CRT_UNPARENTHESIZE(...) _CRT_UNPARENTHESIZE_ __VA_ARGS__
#define _VCRUNTIME_DISABLED_WARNINGS
#define _VCRUNTIME_DISABLE_WARNINGS
#define _VCRUNTIME_RESTORE_WARNINGS

#ifdef __cplusplus
extern "C" {
#endif
// The invalid-parameter handler's entry that the library calls on a broken
// precondition; ucrtbase exports it.
_ACRTIMP __declspec(noreturn) void __cdecl _invalid_parameter_noinfo_noreturn(void);
#ifdef __cplusplus
}
#endif
#ifndef _CRT_SECURE_INVALID_PARAMETER
#define _CRT_SECURE_INVALID_PARAMETER(expr) ::_invalid_parameter_noinfo_noreturn()
#endif

#ifdef __cplusplus
extern "C++" {
template <typename T, size_t N> char (*__countof_helper(T (&)[N]))[N];
}
#ifndef _countof
#define _countof(a) (sizeof(*__countof_helper(a)) + 0)
#endif
#endif
