// Symbol visibility for the host framework library and for plugins.
#pragma once

#if defined(_WIN32)
#  define SDK_EXPORT __declspec(dllexport)
#  define SDK_IMPORT __declspec(dllimport)
#else
#  define SDK_EXPORT __attribute__((visibility("default")))
#  define SDK_IMPORT __attribute__((visibility("default")))
#endif

// The framework library is built with SDK_BUILDING_FRAMEWORK; everything else imports.
#if defined(SDK_BUILDING_FRAMEWORK)
#  define SDK_API SDK_EXPORT
#else
#  define SDK_API SDK_IMPORT
#endif
