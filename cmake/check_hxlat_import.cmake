# cmake -DOBJDUMP=... -DFILE=... -P check_hxlat_import.cmake
# Fails unless FILE imports from HXLAT32.DLL exactly one entry, ordinal 3, by
# ordinal: the only door the program and the libraries have to the converter.
execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${FILE}")
endif()
string(TOUPPER "${dump}" upper)
string(FIND "${upper}" "DLL NAME: HXLAT32.DLL" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${FILE} does not import HXLAT32.DLL")
endif()
string(SUBSTRING "${upper}" ${at} -1 rest)
# The block of this DLL ends at the first empty line.
string(REGEX MATCH "^[^\n]*\n[^\n]*\n(([ \t]+[^\n]+\n)*)" _ "${rest}")
set(entries "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "[^\n]+" lines "${entries}")
list(LENGTH lines count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${FILE} imports ${count} entries from HXLAT32.DLL, not ordinal 3 alone:\n${entries}")
endif()
# By ordinal: the high bit of the thunk is set, the name is "<none>", the ordinal is 3.
if(NOT entries MATCHES "^[ \t]*8[0]*3[ \t]+0*3[ \t]+<NONE>")
  message(FATAL_ERROR "${FILE} does not import HXLAT32.DLL's ordinal 3 by ordinal:\n${entries}")
endif()
message(STATUS "${FILE} imports HXLAT32.DLL ordinal 3 only")
