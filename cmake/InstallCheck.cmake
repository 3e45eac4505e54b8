# SPDX-License-Identifier: GPL-3.0-or-later
# Run by ctest: installs the build into a fresh prefix and checks the
# installed files. Expects ZELTO_BUILD_DIR, ZELTO_PREFIX and ZELTO_APP_ID, and
# ZELTO_WORKER when the extraction worker is built.

file(REMOVE_RECURSE ${ZELTO_PREFIX})
execute_process(
  COMMAND ${CMAKE_COMMAND} --install ${ZELTO_BUILD_DIR} --prefix ${ZELTO_PREFIX}
  RESULT_VARIABLE install_result
  OUTPUT_QUIET)
if(NOT install_result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${install_result}")
endif()

set(expected
  bin/zelto-extractor
  bin/zelto-extract
  share/man/man1/zelto-extract.1.gz
  share/man/man1/zelto-extractor.1.gz
  share/doc/zelto-extract/copyright
  share/doc/zelto-extractor/changelog.gz
  share/zelto-extractor/tips.txt
  share/zelto-extractor/help/index.html
  share/applications/zelto-extractor.desktop
  share/metainfo/${ZELTO_APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/zelto-extractor.svg
  share/icons/hicolor/16x16/apps/zelto-extractor.svg
  share/icons/hicolor/48x48/apps/zelto-extractor.png
  share/icons/hicolor/256x256/apps/zelto-extractor.png
  share/dbus-1/services/${ZELTO_APP_ID}.service)
# The extraction worker, where the programs look for it.
if(ZELTO_WORKER)
  list(APPEND expected libexec/zelto-extractor/zelto-extract-worker)
endif()
foreach(file ${expected})
  if(NOT EXISTS ${ZELTO_PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

foreach(program zelto-extractor zelto-extract)
  execute_process(COMMAND test -x ${ZELTO_PREFIX}/bin/${program} RESULT_VARIABLE not_executable)
  if(NOT not_executable EQUAL 0)
    message(FATAL_ERROR "bin/${program} is not executable")
  endif()
endforeach()

file(READ ${ZELTO_PREFIX}/share/dbus-1/services/${ZELTO_APP_ID}.service service)
if(NOT service MATCHES "Exec=${ZELTO_PREFIX}/bin/zelto-extractor -Automation")
  message(FATAL_ERROR "the D-Bus service file does not start the installed program:\n${service}")
endif()

file(REMOVE_RECURSE ${ZELTO_PREFIX})
