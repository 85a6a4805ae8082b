# spdlog, fmt, nlohmann/json and Asio as header-only libraries from given include
# directories, under the target names of their own CMake packages, for builds that
# cannot use Debian's compiled libraries (Linux libraries, built against libstdc++):
# the Windows builds and clang with libc++.
#
# KESTROVA_HEADER_DIRS: the include directories that hold spdlog/, fmt/, nlohmann/
# and asio.hpp. Unset on a Debian machine, a directory of links to exactly those
# four under /usr/include is made here: /usr/include itself must stay off a Windows
# include path, or glibc's headers would shadow the Windows runtime's, and off a
# libc++ one, whose headers must come before the C library's.

set(KESTROVA_HEADER_DIRS "" CACHE STRING "Include directories holding spdlog/, fmt/, nlohmann/ and asio.hpp")
set(KESTROVA_DEBIAN_INCLUDE "/usr/include" CACHE PATH "Where Debian's header-only packages are")

if(NOT KESTROVA_HEADER_DIRS)
  if(CMAKE_HOST_WIN32)
    message(FATAL_ERROR "Set KESTROVA_HEADER_DIRS to the include directories of spdlog, fmt, nlohmann/json and Asio")
  endif()
  set(staged ${CMAKE_BINARY_DIR}/staged-include)
  file(MAKE_DIRECTORY ${staged})
  foreach(entry spdlog fmt nlohmann asio asio.hpp)
    if(NOT EXISTS ${KESTROVA_DEBIAN_INCLUDE}/${entry})
      message(FATAL_ERROR "${KESTROVA_DEBIAN_INCLUDE}/${entry} is missing (scripts/setup.sh installs it)")
    endif()
    file(CREATE_LINK ${KESTROVA_DEBIAN_INCLUDE}/${entry} ${staged}/${entry} SYMBOLIC)
  endforeach()
  set(KESTROVA_HEADER_DIRS ${staged})
endif()

# Asio is included by plain path from sim/ and the tests, so its directories are
# everyone's; they are system directories so that the libraries' warnings stay out.
include_directories(SYSTEM ${KESTROVA_HEADER_DIRS})

add_library(kestrova-headers-fmt INTERFACE)
target_compile_definitions(kestrova-headers-fmt INTERFACE FMT_HEADER_ONLY)
add_library(fmt::fmt ALIAS kestrova-headers-fmt)

add_library(kestrova-headers-spdlog INTERFACE)
# Debian's spdlog is configured for an external fmt; both are used header-only here.
target_compile_definitions(kestrova-headers-spdlog INTERFACE SPDLOG_FMT_EXTERNAL)
target_link_libraries(kestrova-headers-spdlog INTERFACE kestrova-headers-fmt)
add_library(spdlog::spdlog ALIAS kestrova-headers-spdlog)

add_library(kestrova-headers-json INTERFACE)
add_library(nlohmann_json::nlohmann_json ALIAS kestrova-headers-json)
