# Installation in the usual places and a Debian package that declares what it needs
# instead of carrying it.
include(GNUInstallDirs)

set(VELMORA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS velmora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(VELMORA_BUILD_GUI)
  install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${VELMORA_PACKAGING_DIR}/velmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VELMORA_PACKAGING_DIR}/velmora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${VELMORA_PACKAGING_DIR}/velmora-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME velmora.xml)
endif()
# Debian keeps a package's documents, its copyright file among them, under its own
# (lower-case) name.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${VELMORA_PACKAGING_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/velmora)

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora developers")
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Workbench for multi-channel electrograms of smooth muscle")
set(CPACK_PACKAGE_DESCRIPTION
    "Opens recordings from electrode arrays of up to 256 channels, marks slow waves and spikes\n\
by hand and automatically, and maps their propagation over the electrode grid.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
# The libraries come from dpkg-shlibdeps; Qt's platform plugins and a font are loaded at run
# time, so no linker sees them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(VELMORA_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fontconfig")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
endif()
include(CPack)
