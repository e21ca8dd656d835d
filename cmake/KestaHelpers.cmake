# Small functions that every folder uses, so that each folder's CMakeLists.txt
# says only what it builds.

# kesta_core_library(NAME SOURCES...): a platform-neutral static library (no
# <windows.h>), built for every target and linked by kesta-cli.
function(kesta_core_library name)
  add_library(${name} STATIC ${ARGN})
  set_property(GLOBAL APPEND PROPERTY KESTA_CORE_LIBRARIES ${name})
endfunction()

# kesta_windows_dll(NAME DEF file.def SOURCES ... [LIBS ...]): a Windows DLL
# whose exports and ordinals come from the .def file. The .def names the
# functions undecorated; on win32 the linker matches them to the __stdcall
# (name@N) symbols and exports them undecorated.
function(kesta_windows_dll name)
  cmake_parse_arguments(A "" "DEF;OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES} ${A_DEF})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
  if(A_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${A_OUTPUT_NAME})
  endif()
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup -Wl,--kill-at)
  endif()
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
endfunction()

# kesta_test(NAME SOURCES ... [LIBS ...]): a GoogleTest program. Natively each
# test case is its own CTest test; under Wine the whole program is one CTest
# test (a Wine start per case would cost too much).
function(kesta_test name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} GTest::gtest_main GTest::gmock)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES LABELS wine)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
  endif()
endfunction()

# kesta_fuzzer(NAME SOURCES ... [LIBS ...] [RUNS n]): a fuzz target defining
# LLVMFuzzerTestOneInput. With KESTA_LIBFUZZER (clang) it is a libFuzzer
# program; otherwise it is linked with a driver that feeds it a fixed number
# of pseudo-random and mutated inputs and runs as a CTest test (in CI under
# the sanitizers).
function(kesta_fuzzer name)
  cmake_parse_arguments(A "" "RUNS" "SOURCES;LIBS" ${ARGN})
  if(WIN32)
    return()
  endif()
  if(NOT A_RUNS)
    set(A_RUNS 20000)
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS})
  if(KESTA_LIBFUZZER)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  else()
    target_link_libraries(${name} PRIVATE kesta_fuzz_driver)
    add_test(NAME ${name} COMMAND ${name} --runs=${A_RUNS} --seed=1)
    set_tests_properties(${name} PROPERTIES LABELS "native;fuzz")
  endif()
endfunction()

# kesta_benchmark(NAME SOURCES ... [LIBS ...]): a Google Benchmark program,
# native and unsanitized builds only; benchmarks are run by hand, never as tests.
function(kesta_benchmark name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR KESTA_SANITIZE OR NOT benchmark_FOUND OR KESTA_LIBFUZZER)
    return()
  endif()
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_LIBS} benchmark::benchmark_main)
endfunction()
