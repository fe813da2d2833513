# SPDX-License-Identifier: GPL-3.0-or-later
# Runs lupdate over the sources into copies of the catalogues and fails on any entry it marks
# unfinished (a text without its translation), vanished or obsolete (a text the code lost).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(failed "")
foreach(ts ${TS_FILES})
  get_filename_component(name ${ts} NAME)
  file(COPY ${ts} DESTINATION ${WORK})
  execute_process(COMMAND ${LUPDATE} ${OPTIONS} @${SOURCES} -ts ${WORK}/${name}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}:\n${out}${err}")
  endif()
  file(STRINGS ${WORK}/${name} lines)
  set(source "")
  foreach(line IN LISTS lines)
    if(line MATCHES "<source>(.*)</source>")
      set(source "${CMAKE_MATCH_1}")
    elseif(line MATCHES "type=\"(unfinished|vanished|obsolete)\"")
      string(APPEND failed "${name}: ${CMAKE_MATCH_1}: ${source}\n")
    endif()
  endforeach()
endforeach()
if(failed)
  message(FATAL_ERROR "Catalogue not up to date (run the target update_translations and "
                      "translate in Qt Linguist):\n${failed}")
endif()
