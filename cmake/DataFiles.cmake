# SPDX-License-Identifier: GPL-3.0-or-later
# The tips file and the help pages are read from disk at run time, and the
# program decides at start-up whether they are there. A program run from the
# build folder finds them beside its executable; an installed one finds them
# in <prefix>/share/zelto-extractor/. Include this file after the program's
# target `zelto-extractor` has been defined.

set(ZELTO_DATA_SOURCE_DIR ${PROJECT_SOURCE_DIR}/res)
# The program looks for ../share/zelto-extractor/ from its own folder, so
# this place is fixed relative to the prefix.
set(ZELTO_DATA_INSTALL_DIR share/zelto-extractor)

set(ZELTO_HELP_FILES
  help/add-report.html
  help/adding.html
  help/converting.html
  help/file-list.html
  help/folder-question.html
  help/help.css
  help/index.html
  help/keys.html
  help/messages.html
  help/ocr.html
  help/overview.html
  help/settings.html
  help/tips.html
)
set(ZELTO_DATA_FILES tips.txt ${ZELTO_HELP_FILES})

set(ZELTO_DATA_OUTPUT_DIR $<TARGET_FILE_DIR:zelto-extractor>)

set(ZELTO_DATA_COPIES)
set(ZELTO_DATA_SOURCES)
foreach(data_file ${ZELTO_DATA_FILES})
  get_filename_component(data_dir ${data_file} DIRECTORY)
  list(APPEND ZELTO_DATA_COPIES
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELTO_DATA_OUTPUT_DIR}/${data_dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
      ${ZELTO_DATA_SOURCE_DIR}/${data_file} ${ZELTO_DATA_OUTPUT_DIR}/${data_file})
  list(APPEND ZELTO_DATA_SOURCES ${ZELTO_DATA_SOURCE_DIR}/${data_file})
endforeach()

# A stamp, not the copies themselves, is the output: the copies' folder is
# only known once the generator has placed the executable.
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/zelto_data_files.stamp
  ${ZELTO_DATA_COPIES}
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/zelto_data_files.stamp
  DEPENDS ${ZELTO_DATA_SOURCES}
  COMMENT "Copying the tips file and the help pages beside the program"
  VERBATIM)
add_custom_target(zelto_data_files ALL DEPENDS ${CMAKE_BINARY_DIR}/zelto_data_files.stamp)
add_dependencies(zelto-extractor zelto_data_files)

install(FILES ${ZELTO_DATA_SOURCE_DIR}/tips.txt DESTINATION ${ZELTO_DATA_INSTALL_DIR}
  COMPONENT window)
list(TRANSFORM ZELTO_HELP_FILES PREPEND ${ZELTO_DATA_SOURCE_DIR}/ OUTPUT_VARIABLE ZELTO_HELP_SOURCES)
install(FILES ${ZELTO_HELP_SOURCES} DESTINATION ${ZELTO_DATA_INSTALL_DIR}/help
  COMPONENT window)
