# The install layout (GNU directories, relocatable: the programs find their resources from their own location,
# platform/ProgramPaths.h) and the Debian package.
#   bin/mousecfg, bin/mousecfg-cli
#   share/mousecfg/                 the resource folder as the build lays it out (read-only at run time)
#   libexec/mousecfg/AutoUpdate/    the updater (mousecfg_install_updater below)
#   lib/udev/rules.d/70-mousecfg.rules, share/applications, share/metainfo, share/icons/hicolor,
#   share/man/man1, share/bash-completion/completions
include(GNUInstallDirs)

set(MOUSECFG_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "Where the udev rule goes, relative to the install prefix (udev reads /usr/lib and /usr/local/lib)")
set(MOUSECFG_APP_ID org.mousecfg.mousecfg)

install(TARGETS mousecfg mousecfg-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# What runs of the program in the build folder with --res may have left there is not part of the install.
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/res/ DESTINATION ${CMAKE_INSTALL_DATADIR}/mousecfg
        PATTERN "*.bak" EXCLUDE
        PATTERN "*.damaged" EXCLUDE
        PATTERN "file_error.txt" EXCLUDE
        PATTERN "SkinGallery" EXCLUDE)
install(FILES ${MOUSECFG_UDEV_RULE} DESTINATION ${MOUSECFG_UDEV_RULES_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/dist/${MOUSECFG_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/dist/${MOUSECFG_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/res/icon/mousecfg.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS MOUSECFG_ICON_SIZES)
  install(FILES ${CMAKE_BINARY_DIR}/dist/icons/${size}x${size}/mousecfg.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/dist/man/mousecfg.1.gz ${CMAKE_BINARY_DIR}/dist/man/mousecfg-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/dist/mousecfg-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME mousecfg-cli)

# The updater program lives in its own folder, "AutoUpdate", which the program finds from its own location
# (FindUpdaterFolder in platform/ProgramPaths.h): libexec/mousecfg/AutoUpdate when installed, bin/AutoUpdate in
# the build folder. Call with the updater's target and, optionally, the folder of its own resources (installed
# as AutoUpdate/res):
#   mousecfg_install_updater(TARGET mousecfg-update RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/res)
set(MOUSECFG_INSTALL_UPDATERDIR libexec/mousecfg/AutoUpdate)
function(mousecfg_install_updater)
  cmake_parse_arguments(UPDATER "" "TARGET;RESOURCES" "" ${ARGN})
  set_target_properties(${UPDATER_TARGET} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/AutoUpdate)
  install(TARGETS ${UPDATER_TARGET} RUNTIME DESTINATION ${MOUSECFG_INSTALL_UPDATERDIR})
  if(UPDATER_RESOURCES)
    install(DIRECTORY ${UPDATER_RESOURCES}/ DESTINATION ${MOUSECFG_INSTALL_UPDATERDIR}/res)
  endif()
endfunction()
mousecfg_install_updater(TARGET AutoUpdate RESOURCES ${CMAKE_BINARY_DIR}/bin/AutoUpdate/res)

# The Debian package: cpack -G DEB in the build folder. Its dependencies come from the shared libraries the
# programs link (dpkg-shlibdeps), not from a hand-written list.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mousecfg)
set(CPACK_PACKAGE_VENDOR "mousecfg")
set(CPACK_PACKAGE_CONTACT "mousecfg maintainers <maintainers@mousecfg.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for a gaming mouse")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Assigns functions to the mouse's buttons, edits DPI levels, report rate, lighting and sensor options, keeps "
    "profiles and writes recorded macros into the mouse, connected by USB cable, 2.4 GHz receiver or Bluetooth "
    "LE. A window (mousecfg) and a command-line tool (mousecfg-cli); a udev rule gives the logged-in user access "
    "to the mouse.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not named by any shared library: the CJK font of the Chinese, Japanese and Korean language files, and Qt's
# Wayland platform plug-in (X11's comes with Qt's GUI library).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://mousecfg.example/")
include(CPack)
