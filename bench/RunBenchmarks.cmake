# Runs every benchmark in turn, then prints their rows as one table.
# A benchmark that fails or crashes is listed in the table; it never fails
# the build.
#   -D BENCHES=path|path|...   benchmark programs, in the order to run
#   -D REPORT=path             the table printer
#   -D RESULTS=folder          where the benchmarks leave their rows
string(REPLACE "|" ";" benches "${BENCHES}")
file(REMOVE_RECURSE "${RESULTS}")
file(MAKE_DIRECTORY "${RESULTS}")
# Qt wants a private runtime folder and complains on every start without one.
if(NOT DEFINED ENV{XDG_RUNTIME_DIR})
  file(MAKE_DIRECTORY "${RESULTS}/runtime")
  file(CHMOD "${RESULTS}/runtime" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set(ENV{XDG_RUNTIME_DIR} "${RESULTS}/runtime")
endif()
set(unfinished)
foreach(program IN LISTS benches)
  get_filename_component(name "${program}" NAME)
  execute_process(COMMAND "${program}" RESULT_VARIABLE rc)
  if(NOT rc STREQUAL "0")
    message(STATUS "${name} did not finish: ${rc}")
    list(APPEND unfinished "${name}=${rc}")
  endif()
endforeach()
execute_process(COMMAND "${REPORT}" "${RESULTS}" ${unfinished})
