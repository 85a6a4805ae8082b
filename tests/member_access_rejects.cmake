# Compiles member_access_rejects.cpp once with no case, which must succeed, then
# once per case, which must fail with that case's message.
#   cmake -DCOMPILER=<c++> -DSOURCE=<file> -DINCLUDES=<dirs> -DDEFINITIONS=<defs> -P member_access_rejects.cmake
cmake_minimum_required(VERSION 3.25)

set(cases
  "UNDECLARED_RESULT|a class returned by value needs a GameClass declaration"
  "UNDECLARED_ARGUMENT|a class passed by value needs a GameClass declaration"
  "STRING_BY_VALUE|the game copies or destroys this class with code of its own"
  "SDK_COPY_NOT_TRIVIAL|the sdk's copy of this class must copy and destroy trivially"
  "LONG_DOUBLE|the calling convention for this argument type is not decided here"
  "MEMBER_POINTER_RESULT|the calling convention for this result type is not decided here")

set(flags -std=c++20 -fsyntax-only)
list(REMOVE_ITEM INCLUDES "")
list(REMOVE_ITEM DEFINITIONS "")
list(REMOVE_DUPLICATES INCLUDES)
foreach(dir IN LISTS INCLUDES)
  list(APPEND flags -I${dir})
endforeach()
foreach(definition IN LISTS DEFINITIONS)
  list(APPEND flags -D${definition})
endforeach()

execute_process(COMMAND ${COMPILER} ${flags} ${SOURCE} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the signatures the rules decide do not compile:\n${errors}")
endif()

set(problems "")
foreach(entry IN LISTS cases)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 case)
  list(GET parts 1 expected)
  execute_process(COMMAND ${COMPILER} ${flags} -D${case} ${SOURCE} RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(status EQUAL 0)
    string(APPEND problems "${case}: compiled\n")
  elseif(NOT errors MATCHES "${expected}")
    string(APPEND problems "${case}: failed without \"${expected}\":\n${errors}\n")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
