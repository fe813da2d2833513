# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once the .deb files are made (CPACK_POST_BUILD_SCRIPTS). CPack gives a package
# holding a shared library a postinst and a postrm that only call ldconfig; a package that
# activates dpkg's ldconfig trigger (packaging/debian/triggers) does not need them, and Debian
# wants the trigger alone (lintian: maintscript-calls-ldconfig). Such scripts are taken out of
# those packages; a script that does anything else stays.
find_program(QVT_DPKG_DEB dpkg-deb REQUIRED)
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  execute_process(COMMAND ${QVT_DPKG_DEB} --info ${deb} triggers
    OUTPUT_VARIABLE triggers RESULT_VARIABLE no_triggers ERROR_QUIET)
  if(no_triggers OR NOT triggers MATCHES "(^|\n)activate-noawait ldconfig(\n|$)")
    continue()
  endif()
  set(tree ${deb}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND ${QVT_DPKG_DEB} --raw-extract ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  set(changed FALSE)
  foreach(script postinst postrm)
    set(path ${tree}/DEBIAN/${script})
    if(EXISTS ${path})
      file(READ ${path} text)
      # CPack's script: a shebang, "set -e", and ldconfig inside one test of the action.
      if(text MATCHES "^#!/bin/sh[ \t\n]*set -e[ \t\n]*if \\[ \"\\$1\" = \"[a-z]+\" \\]; then[ \t\n]*ldconfig[ \t\n]*fi[ \t\n]*$")
        file(REMOVE ${path})
        set(changed TRUE)
      endif()
    endif()
  endforeach()
  if(changed)
    execute_process(COMMAND ${QVT_DPKG_DEB} --root-owner-group -Zgzip --build ${tree} ${deb}
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE ${tree})
endforeach()
