# Cross-builds the Windows side in Microsoft's ABI, as Visual Studio would: clang-cl
# and lld-link; Microsoft's standard library (KESTROVA_MSSTL_DIR, its release
# vs-2022-17.4); Wine's C runtime and Windows headers, with the project's corrections
# and the runtime pieces Visual Studio would supply (msvc-runtime/). What it builds
# imports the Visual C++ 2015-2022 runtime DLLs and runs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

find_program(KESTROVA_CLANG_CL NAMES clang-cl-14 clang-cl REQUIRED)
set(CMAKE_C_COMPILER ${KESTROVA_CLANG_CL})
set(CMAKE_CXX_COMPILER ${KESTROVA_CLANG_CL})
set(CMAKE_C_COMPILER_TARGET x86_64-pc-windows-msvc)
set(CMAKE_CXX_COMPILER_TARGET x86_64-pc-windows-msvc)
find_program(CMAKE_LINKER NAMES lld-link-14 lld-link REQUIRED)
find_program(CMAKE_AR NAMES llvm-lib-14 llvm-lib REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES llvm-rc-14 llvm-rc)
find_program(CMAKE_MT NAMES llvm-mt-14 llvm-mt)

set(KESTROVA_MSSTL_DIR "${CMAKE_CURRENT_LIST_DIR}/../.cache/msstl" CACHE PATH
  "Microsoft's standard library, release vs-2022-17.4: the folder that holds stl/inc and stl/src")
set(KESTROVA_WINE_INCLUDE /usr/include/wine/wine CACHE PATH "Wine's headers: msvcrt/ and windows/")
set(KESTROVA_WINE_DLL_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Wine's Windows DLLs")
cmake_path(ABSOLUTE_PATH KESTROVA_MSSTL_DIR NORMALIZE)
if(NOT EXISTS ${KESTROVA_MSSTL_DIR}/stl/inc/yvals_core.h)
  message(FATAL_ERROR "Microsoft's standard library is not in ${KESTROVA_MSSTL_DIR} "
    "(scripts/setup.sh --windows unpacks it there; see the README)")
endif()
set(KESTROVA_MSVC_ABI ON)

# The headers in Visual Studio's order: the compiler's runtime, the standard library,
# the C runtime, the SDK; nothing from the Linux system.
cmake_path(SET runtime_include NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../msvc-runtime/include)
string(JOIN " " KESTROVA_MSVC_ABI_FLAGS
  -fms-compatibility-version=19.34 /X
  -imsvc ${runtime_include} -imsvc ${KESTROVA_MSSTL_DIR}/stl/inc
  -imsvc ${KESTROVA_WINE_INCLUDE}/msvcrt -imsvc ${KESTROVA_WINE_INCLUDE}/windows
  # clang 14 cannot compile the library's vectorised algorithms.
  -D_USE_STD_VECTOR_ALGORITHMS=0)
set(CMAKE_C_FLAGS_INIT "${KESTROVA_MSVC_ABI_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${KESTROVA_MSVC_ABI_FLAGS} /EHsc")
# The DLL runtime: no static Microsoft runtime exists outside Visual Studio.
set(CMAKE_MSVC_RUNTIME_LIBRARY MultiThreadedDLL)
# Every module links what it uses by name (msvc-runtime/CMakeLists.txt), not
# Visual Studio's default list, none of which exists here.
set(CMAKE_C_STANDARD_LIBRARIES "" CACHE STRING "")
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING "")
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT "/nodefaultlib")
endforeach()
# The runtime pieces are built by the project, so the compiler checks only compile.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTROVA_MSSTL_DIR KESTROVA_WINE_INCLUDE KESTROVA_WINE_DLL_DIR)

# Tests and test discovery run through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")

# Windows' own threads: the compile-only checks would otherwise take a pthread library.
foreach(check CMAKE_HAVE_LIBC_PTHREAD CMAKE_HAVE_PTHREADS_CREATE CMAKE_HAVE_PTHREAD_CREATE THREADS_HAVE_PTHREAD_ARG)
  set(${check} OFF CACHE INTERNAL "")
endforeach()
