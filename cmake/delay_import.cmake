# Script mode: makes a delay-load import library from the toolchain's import library, so
# the DLL is loaded at the first call into it instead of before the program starts.
#   cmake -DNM=... -DDLLTOOL=... -DIMPLIB=libfoo.a -DDLL=foo.dll -DOUT=libfoo_delay.a -P delay_import.cmake
execute_process(COMMAND ${NM} ${IMPLIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NM} ${IMPLIB} failed")
endif()
# The import library's code symbols are the DLL's exports: "name" on x86_64,
# "_name@bytes" for the i686 stdcall functions (the def file keeps "@bytes", dlltool -k
# imports by the bare name as the DLL exports it).
string(REGEX MATCHALL "[0-9a-fA-F]+ T [^\n]+" lines "${symbols}")
set(names "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]+ T _?" "" name "${line}")
  list(APPEND names "${name}")
endforeach()
list(REMOVE_DUPLICATES names)
if(NOT names)
  message(FATAL_ERROR "no exports found in ${IMPLIB}")
endif()
list(JOIN names "\n" exports)
set(def "LIBRARY ${DLL}\nEXPORTS\n${exports}\n")
file(WRITE ${OUT}.def "${def}")
execute_process(COMMAND ${DLLTOOL} -k -d ${OUT}.def -y ${OUT} -D ${DLL} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${DLLTOOL} failed for ${DLL}")
endif()
