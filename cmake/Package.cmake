# SPDX-License-Identifier: GPL-3.0-or-later
# The files every installation carries beside the programs (manual pages,
# copyright, changelog), and the two Debian packages made from the install
# rules with CPack: zelto-extractor (component "window": the program, its
# data, desktop entry, icons, metainfo, D-Bus service file and help) and
# zelto-extract (component "command": the command and its manual page, no
# Qt). scripts/package.sh builds and checks them.

set(ZELTO_PACKAGE_FILES ${CMAKE_BINARY_DIR}/package)
configure_file(${PROJECT_SOURCE_DIR}/res/package/changelog.in ${ZELTO_PACKAGE_FILES}/changelog
  @ONLY)

# Manual pages and changelogs go in compressed, without a time stamp, as
# Debian's policy asks.
set(ZELTO_GZIPPED)
function(zelto_gzip source target)
  add_custom_command(OUTPUT ${target}
    COMMAND gzip -9n -c ${source} > ${target}
    DEPENDS ${source}
    COMMENT "Compressing ${target}")
  set(ZELTO_GZIPPED ${ZELTO_GZIPPED} ${target} PARENT_SCOPE)
endfunction()
zelto_gzip(${PROJECT_SOURCE_DIR}/res/zelto-extract.1 ${ZELTO_PACKAGE_FILES}/zelto-extract.1.gz)
zelto_gzip(${ZELTO_PACKAGE_FILES}/changelog ${ZELTO_PACKAGE_FILES}/changelog.gz)
set(ZELTO_PACKAGE_COMPONENTS command)
if(ZELTO_BUILD_GUI)
  zelto_gzip(${PROJECT_SOURCE_DIR}/res/zelto-extractor.1
    ${ZELTO_PACKAGE_FILES}/zelto-extractor.1.gz)
  list(APPEND ZELTO_PACKAGE_COMPONENTS window)
endif()
add_custom_target(zelto_package_files ALL DEPENDS ${ZELTO_GZIPPED})

install(FILES ${ZELTO_PACKAGE_FILES}/zelto-extract.1.gz DESTINATION share/man/man1
  COMPONENT command)
# The watch as a service: installed, not enabled; its folders in a
# configuration file the administrator's changes survive upgrades in.
install(FILES ${PROJECT_SOURCE_DIR}/res/package/zelto-extract-watch.service
  DESTINATION /lib/systemd/system COMPONENT command)
install(FILES ${PROJECT_SOURCE_DIR}/res/package/zelto-extract.default
  DESTINATION /etc/default RENAME zelto-extract COMPONENT command)
foreach(component ${ZELTO_PACKAGE_COMPONENTS})
  if(component STREQUAL "window")
    set(package zelto-extractor)
    install(FILES ${ZELTO_PACKAGE_FILES}/zelto-extractor.1.gz DESTINATION share/man/man1
      COMPONENT window)
  else()
    set(package zelto-extract)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/res/package/copyright ${ZELTO_PACKAGE_FILES}/changelog.gz
    DESTINATION share/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${ZELTO_PACKAGE_COMPONENTS})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_VENDOR "Orrinval Software")
set(CPACK_PACKAGE_CONTACT "Orrinval Software <zelto-support@orrinval.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# pdftotext does every conversion; its encoding data keeps the characters of
# Chinese, Japanese and Korean PDFs. OCR is the user's choice.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "poppler-utils, poppler-data")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "tesseract-ocr, tesseract-ocr-eng")

set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME zelto-extractor)
# The window converts in the extraction workers that come with the command.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS
  "${CPACK_DEBIAN_PACKAGE_DEPENDS}, zelto-extract (= ${CPACK_DEBIAN_PACKAGE_VERSION})")
set(CPACK_DEBIAN_WINDOW_PACKAGE_SECTION text)
set(CPACK_DEBIAN_WINDOW_DESCRIPTION "turn PDF files into plain-text files in bulk
Zelto Extractor is a desktop program that converts PDF files to text with
pdftotext. Gather PDFs into a list (single files, whole folders, drag and
drop, paste) and each one is converted into a .txt file beside it, with a
report of every problem the tool met, a time limit per file, and optional
OCR for scanned pages.")
set(CPACK_DEBIAN_COMMAND_PACKAGE_NAME zelto-extract)
set(CPACK_DEBIAN_COMMAND_PACKAGE_SECTION text)
set(CPACK_DEBIAN_COMMAND_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/res/package/conffiles)
set(CPACK_DEBIAN_COMMAND_DESCRIPTION "convert PDF files to plain-text files from scripts
zelto-extract converts PDF files and folders of them to text exactly as
pdftotext does, in long-lived extraction workers built on poppler, by the
rules of the Zelto Extractor window, with no display and no questions: a
report a program can read, a progress line on a terminal, and ways to share
a large archive out among several machines.")
include(CPack)
