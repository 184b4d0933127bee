# What the Linux program installs beside itself, and the Debian package CPack makes of it:
#   cmake --build build/package-x11 && (cd build/package-x11 && cpack -G DEB)
# Dates come from SOURCE_DATE_EPOCH when it is set (scripts/package sets the commit's), so the
# package is the same byte for byte when built twice.
include(GNUInstallDirs)

set(velmora_package_name velmora-suite)
set(velmora_app_id com.quillfern.VelmoraSuite)
set(velmora_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${velmora_package_name})

# The icon in the hicolor theme at the usual sizes (drawn by scripts/make-icons).
install(FILES ${PROJECT_SOURCE_DIR}/assets/velmora.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME ${velmora_package_name}.png)
foreach(size 16 24 32 48 64 128)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/hicolor/velmora-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${velmora_package_name}.png)
endforeach()

# AppStream metadata, dated with the release.
string(TIMESTAMP VELMORA_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/linux/${velmora_app_id}.metainfo.xml
               ${velmora_app_id}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${velmora_app_id}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page, compressed the same way.
configure_file(${PROJECT_SOURCE_DIR}/packaging/linux/velmora.1.in velmora.1 @ONLY)
execute_process(COMMAND gzip -9nkf ${CMAKE_CURRENT_BINARY_DIR}/velmora.1 COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/velmora.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Debian's documentation files: the copyright and a compressed changelog (gzip -n: no name or
# time in the header).
string(TIMESTAMP VELMORA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/linux/changelog.in changelog @ONLY)
execute_process(COMMAND gzip -9nkf ${CMAKE_CURRENT_BINARY_DIR}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/copyright
              ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DESTINATION ${velmora_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${velmora_package_name})
set(CPACK_PACKAGE_VENDOR Quillfern)
set(CPACK_PACKAGE_CONTACT "Quillfern <support@quillfern.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bulk window manager: hide, show or close many windows at once")
set(CPACK_PACKAGE_DESCRIPTION
    "Velmora Suite lists the desktop's open windows in a check-box list. Tick\n\
the windows you want, then hide, show, close, minimize, maximize or restore\n\
all of them at once. It can refresh the list at an interval, stay on top,\n\
and wait in the notification area.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# The libraries the program links come from dpkg-shlibdeps; Qt's X11 platform plugin is loaded
# at run time, so no linked library names it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Qt's Wayland platform plugin gives the program a Wayland window of its own on Wayland
# desktops; without it the window opens through XWayland and everything else still works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
