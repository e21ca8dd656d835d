# Small functions that every folder uses, so that each folder's CMakeLists.txt
# says only what it builds.

# kesta_core_library(NAME SOURCES...): a platform-neutral static library (no
# <windows.h>), built for every target and linked by kesta-cli.
function(kesta_core_library name)
  add_library(${name} STATIC ${ARGN})
  set_property(GLOBAL APPEND PROPERTY KESTA_CORE_LIBRARIES ${name})
endfunction()

# kesta_windows_dll(NAME DEF file.def SOURCES ... [LIBS ...]
#                   [STDCALL_BYTES Fn=bytes ...]): a Windows DLL whose exports
# and ordinals come from the .def file, which names the functions undecorated.
# On win32 the linker exports __stdcall functions (Fn@N) undecorated
# (--kill-at); STDCALL_BYTES gives each one's argument bytes so that the
# import library keeps the decorated names that 32-bit callers link against.
# When the .def assigns ordinals, objdump checks after every link that the
# export table is exactly the .def's names and ordinals (callers import by ordinal), so a win32 build that is
# never run still fails on a wrong ordinal.
function(kesta_windows_dll name)
  cmake_parse_arguments(A "" "DEF;OUTPUT_NAME" "SOURCES;LIBS;STDCALL_BYTES" ${ARGN})
  get_filename_component(A_DEF ${A_DEF} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(def ${A_DEF})
  set(x86 OFF)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(x86 ON)
  endif()
  if(x86 AND A_STDCALL_BYTES)
    file(READ ${A_DEF} def_text)
    foreach(entry IN LISTS A_STDCALL_BYTES)
      string(REPLACE "=" ";" pair ${entry})
      list(GET pair 0 fn)
      list(GET pair 1 bytes)
      string(REGEX REPLACE "([ \t])${fn}([ \t\r\n])" "\\1${fn}@${bytes}\\2" def_text "${def_text}")
    endforeach()
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}_x86.def)
    file(WRITE ${def} "${def_text}")
  endif()
  add_library(${name} SHARED ${A_SOURCES} ${def})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll")
  if(A_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${A_OUTPUT_NAME})
  endif()
  if(x86)
    target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup -Wl,--kill-at)
    if(A_STDCALL_BYTES)
      # The linker's import library loses the decorations with --kill-at;
      # dlltool -k keeps them for linking and imports the undecorated names.
      find_program(KESTA_DLLTOOL NAMES ${KESTA_MINGW_PREFIX}-dlltool REQUIRED)
      add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${KESTA_DLLTOOL} -k -d ${def} -D $<TARGET_FILE_NAME:${name}> -l $<TARGET_LINKER_FILE:${name}>
        VERBATIM)
    endif()
  endif()
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
  file(STRINGS ${A_DEF} ordinal_lines REGEX "@[0-9]+")
  if(ordinal_lines)  # a .def that assigns ordinals
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DDLL=$<TARGET_FILE:${name}> -DDEF=${A_DEF}
              -P ${PROJECT_SOURCE_DIR}/cmake/check_ordinals.cmake
      VERBATIM)
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
    # Seeds: tests/fuzz-corpus/NAME (tools/fuzz-all.sh runs every target on its own,
    # from the list kesta_write_fuzzer_list writes).
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY KESTA_FUZZERS "${name}=$<TARGET_FILE:${name}>")
  else()
    target_link_libraries(${name} PRIVATE kesta_fuzz_driver)
    add_test(NAME ${name} COMMAND ${name} --runs=${A_RUNS} --seed=1)
    set_tests_properties(${name} PROPERTIES LABELS "native;fuzz")
  endif()
endfunction()

# kesta_write_fuzzer_list(): with KESTA_LIBFUZZER, writes fuzzers.txt in the
# build folder, one "NAME=PROGRAM" a line for every kesta_fuzzer, so that
# tools/fuzz-all.sh runs exactly the targets there are (and finds a target
# without seeds, or seeds without a target).
function(kesta_write_fuzzer_list)
  if(NOT KESTA_LIBFUZZER)
    return()
  endif()
  get_property(fuzzers GLOBAL PROPERTY KESTA_FUZZERS)
  list(SORT fuzzers)
  list(JOIN fuzzers "\n" text)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzzers.txt CONTENT "${text}\n")
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

# kesta_command_test(NAME EXIT code [OUTPUT regex] COMMAND cmd args...): a
# native test that runs a command as a user would and passes only when it
# exits with exactly `code` (a crash never counts) and, when OUTPUT is
# given, its output matches the regular expression.
function(kesta_command_test name)
  cmake_parse_arguments(A "" "EXIT;OUTPUT" "COMMAND" ${ARGN})
  add_test(NAME ${name}
    COMMAND sh -c "expected=$1; shift; \"$@\"; s=$?; [ \"$s\" -eq \"$expected\" ] || echo \"kesta: wrong exit status $s\""
            sh ${A_EXIT} ${A_COMMAND})
  set_tests_properties(${name} PROPERTIES LABELS native FAIL_REGULAR_EXPRESSION "kesta: wrong exit status")
  if(DEFINED A_OUTPUT)
    set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "${A_OUTPUT}")
  endif()
endfunction()
