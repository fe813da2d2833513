# SPDX-License-Identifier: GPL-3.0-or-later
# Compiler settings shared by every target: warnings, library assertions, sanitizers, fuzzing.
add_compile_options(-Wall -Wextra)
# GCC 12 reports -Wrestrict from inside std::string's own code wherever two strings are joined
# (GCC bugs 105329 and 105651), also at link time under LTO; the false positive is silenced for
# that compiler alone, so that a real -Wrestrict still shows on the others.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
  add_link_options(-Wno-restrict)
endif()
# The test command builds with every warning of the project's own code as an error, so that a
# new warning fails there instead of reaching a newcomer's first build.
option(QVT_WERROR "Treat warnings as errors" OFF)
if(QVT_WERROR)
  add_compile_options(-Werror)
endif()
if(NOT CMAKE_BUILD_TYPE STREQUAL "Release")
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()

if(QVT_SANITIZE)
  string(REPLACE "," ";" _qvt_sanitizers "${QVT_SANITIZE}")
  foreach(s IN LISTS _qvt_sanitizers)
    if(NOT s MATCHES "^(address|undefined|thread)$")
      message(FATAL_ERROR "QVT_SANITIZE: unknown sanitizer '${s}'")
    endif()
  endforeach()
  add_compile_options(-fsanitize=${QVT_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${QVT_SANITIZE})
endif()

if(QVT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "QVT_FUZZ needs clang (configure with CXX=clang++ CC=clang)")
  endif()
  # Every library is instrumented for coverage; only the fuzz targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# qvt_add_test(<name> LABEL <labels> SOURCES ... LIBS ... [ENV VAR=value ...]
#              [LAUNCHER command ...]): one GoogleTest program registered with CTest as one test.
# LABEL may be a list ("link;thread"). LAUNCHER runs the program through a command, e.g.
# "dbus-run-session --" for a test that needs a session bus of its own.
function(qvt_add_test name)
  find_package(GTest REQUIRED)
  cmake_parse_arguments(T "" "" "LABEL;SOURCES;LIBS;ENV;LAUNCHER" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(T_LAUNCHER)
    add_test(NAME ${name} COMMAND ${T_LAUNCHER} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  # The ThreadSanitizer run builds only the tests labelled "thread".
  if("thread" IN_LIST T_LABEL)
    set_property(GLOBAL APPEND PROPERTY QVT_THREAD_TESTS ${name})
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABEL}")
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()
