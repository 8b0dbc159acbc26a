# The layer check's test (cmake -P): the allowed includes build, and every
# forbidden one fails because its header is not found, nothing else.
# BUILD_DIR, GENERATOR, ALLOWED (targets), FORBIDDEN (target=header pairs),
# the lists with "," between items.
string(REPLACE "," ";" ALLOWED "${ALLOWED}")
string(REPLACE "," ";" FORBIDDEN "${FORBIDDEN}")

execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target ${ALLOWED}
                RESULT_VARIABLE _result OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "An include of a layer below did not build:\n${_out}")
endif()

set(_targets "")
foreach(_pair IN LISTS FORBIDDEN)
  string(REGEX REPLACE "=.*" "" _target "${_pair}")
  list(APPEND _targets ${_target})
endforeach()
if(GENERATOR MATCHES "Ninja")
  set(_keep_going -k 0)
else()
  set(_keep_going -k)
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${BUILD_DIR}" --target ${_targets} -- ${_keep_going}
                RESULT_VARIABLE _result OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
if(_result EQUAL 0)
  message(FATAL_ERROR "Upward includes built:\n${_out}")
endif()

set(_problems "")
foreach(_pair IN LISTS FORBIDDEN)
  string(REGEX MATCH "^([^=]*)=(.*)$" _ "${_pair}")
  set(_target "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "([.+])" "\\\\\\1" _header "${CMAKE_MATCH_2}")
  # gcc: "x.cpp:2:10: fatal error: sky/a.h: No such file or directory"; clang: "'sky/a.h' file not found".
  if(NOT _out MATCHES "${_target}\\.cpp:[0-9]+:[0-9]+: fatal error: '?${_header}'?(: No such file| file not found)")
    string(APPEND _problems "  ${_target} did not fail on ${CMAKE_MATCH_2} not found\n")
  endif()
endforeach()
string(REGEX MATCHALL "error:" _errors "${_out}")
list(LENGTH _errors _error_count)
list(LENGTH _targets _target_count)
if(NOT _error_count EQUAL _target_count)
  string(APPEND _problems "  ${_error_count} errors for ${_target_count} forbidden includes\n")
endif()
if(_problems)
  message(FATAL_ERROR "The layer check failed:\n${_problems}\n${_out}")
endif()
list(LENGTH ALLOWED _allowed_count)
message(STATUS "${_allowed_count} layers reach their own and lower headers; ${_target_count} upward or sideways includes fail")
