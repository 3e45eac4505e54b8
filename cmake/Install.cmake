# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the program as a desktop application: the executable, its desktop
# entry, its icon in the hicolor theme, its AppStream description and its
# D-Bus service file. The tips and the help go in with DataFiles.cmake.
# The program finds its data as ../share/zelto-extractor/ from its own
# folder, so the places below are fixed relative to the prefix rather than
# taken from GNUInstallDirs.

set(ZELTO_APP_ID com.orrinval.Zelto)
set(ZELTO_DESKTOP_FILE ${PROJECT_SOURCE_DIR}/res/zelto-extractor.desktop)
set(ZELTO_METAINFO_FILE ${PROJECT_SOURCE_DIR}/res/${ZELTO_APP_ID}.metainfo.xml)

install(TARGETS zelto-extractor RUNTIME DESTINATION bin COMPONENT window)
install(FILES ${ZELTO_DESKTOP_FILE} DESTINATION share/applications COMPONENT window)
install(FILES ${ZELTO_METAINFO_FILE} DESTINATION share/metainfo COMPONENT window)
install(FILES ${PROJECT_SOURCE_DIR}/res/icons/zelto.svg
  DESTINATION share/icons/hicolor/scalable/apps RENAME zelto-extractor.svg COMPONENT window)
# The small drawing leaves out the lettering that would blur at 16 pixels.
install(FILES ${PROJECT_SOURCE_DIR}/res/icons/zelto-16.svg
  DESTINATION share/icons/hicolor/16x16/apps RENAME zelto-extractor.svg COMPONENT window)

# Fixed sizes, rendered from the scalable icon when the program is built.
set(ZELTO_ICON_SIZES 32 48 64 128 256)
set(ZELTO_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
add_executable(zelto_icon_render ${PROJECT_SOURCE_DIR}/src/tools/IconRender.cpp)
target_link_libraries(zelto_icon_render PRIVATE Qt6::Gui Qt6::Svg zelto_warnings)
set(ZELTO_ICON_PNGS)
foreach(size ${ZELTO_ICON_SIZES})
  list(APPEND ZELTO_ICON_PNGS ${ZELTO_ICON_DIR}/${size}x${size}/zelto-extractor.png)
  install(FILES ${ZELTO_ICON_DIR}/${size}x${size}/zelto-extractor.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT window)
endforeach()
add_custom_command(
  OUTPUT ${ZELTO_ICON_PNGS}
  COMMAND zelto_icon_render ${PROJECT_SOURCE_DIR}/res/icons/zelto.svg ${ZELTO_ICON_DIR}
    ${ZELTO_ICON_SIZES}
  DEPENDS zelto_icon_render ${PROJECT_SOURCE_DIR}/res/icons/zelto.svg
  COMMENT "Rendering the program's icon at fixed sizes")
add_custom_target(zelto_icons ALL DEPENDS ${ZELTO_ICON_PNGS})

# Lets the session bus start the program for an automation client that asks
# for its name. The program's path is only known once the prefix is.
set(ZELTO_SERVICE_FILE ${CMAKE_BINARY_DIR}/dbus/${ZELTO_APP_ID}.service)
install(CODE "
  file(WRITE \"${ZELTO_SERVICE_FILE}\"
    \"[D-BUS Service]\\nName=${ZELTO_APP_ID}\\nExec=\${CMAKE_INSTALL_PREFIX}/bin/zelto-extractor -Automation\\n\")
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/dbus-1/services\"
    TYPE FILE FILES \"${ZELTO_SERVICE_FILE}\")
" COMPONENT window)

# File managers offer the program under "Open With" for PDF files from the
# MIME cache of the applications folder. A staged install (DESTDIR) leaves
# that to the package's own triggers.
install(CODE "
  find_program(zelto_update_desktop_database update-desktop-database)
  if(zelto_update_desktop_database AND \"\$ENV{DESTDIR}\" STREQUAL \"\")
    execute_process(COMMAND \${zelto_update_desktop_database} -q
      \"\${CMAKE_INSTALL_PREFIX}/share/applications\")
  endif()
" COMPONENT window)

if(ZELTO_BUILD_TESTS)
  find_program(ZELTO_DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(ZELTO_DESKTOP_FILE_VALIDATE)
    add_test(NAME install.desktop_entry
      COMMAND ${ZELTO_DESKTOP_FILE_VALIDATE} ${ZELTO_DESKTOP_FILE})
  endif()
  find_program(ZELTO_APPSTREAMCLI appstreamcli)
  if(ZELTO_APPSTREAMCLI)
    add_test(NAME install.metainfo
      COMMAND ${ZELTO_APPSTREAMCLI} validate --no-net ${ZELTO_METAINFO_FILE})
  endif()
  if(UNIX)
    # Installs into a folder of the build and checks that every file lands
    # where the program and the desktop look for it.
    add_test(NAME install.layout
      COMMAND ${CMAKE_COMMAND}
        -DZELTO_BUILD_DIR=${CMAKE_BINARY_DIR}
        -DZELTO_PREFIX=${CMAKE_BINARY_DIR}/install-test
        -DZELTO_APP_ID=${ZELTO_APP_ID}
        -DZELTO_WORKER=${ZELTO_BUILD_WORKER}
        -P ${PROJECT_SOURCE_DIR}/cmake/InstallCheck.cmake)
  endif()
endif()
