# What `cmake --install` puts under the prefix, and the Debian package CPack makes of it.
# The program finds its data in ../share/terravel beside its bin folder (src/app/DataPaths.cpp).
include(GNUInstallDirs)

# One reverse-domain id names the desktop entry, the AppStream file and the icon.
set(TERRAVEL_APP_ID example.quillstone.Terravel)
set(TERRAVEL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/terravel)

install(TARGETS terravel terravel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/examples/ DESTINATION ${TERRAVEL_DATA_DIR}/examples
        FILES_MATCHING PATTERN "*.tvp")
# The manual, once it is part of the tree.
if(EXISTS ${PROJECT_SOURCE_DIR}/resources/guide)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/guide/ DESTINATION ${TERRAVEL_DATA_DIR}/guide)
endif()

set(desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
install(FILES ${desktop}/${TERRAVEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/${TERRAVEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop}/${TERRAVEL_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${TERRAVEL_APP_ID}.xml)

set(icons ${PROJECT_SOURCE_DIR}/resources/icons)
set(hicolor ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${icons}/terravel.svg DESTINATION ${hicolor}/scalable/apps RENAME ${TERRAVEL_APP_ID}.svg)
foreach(size 48 256)
  install(FILES ${icons}/terravel-${size}.png DESTINATION ${hicolor}/${size}x${size}/apps
          RENAME ${TERRAVEL_APP_ID}.png)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/resources/man/terravel.1 ${PROJECT_SOURCE_DIR}/resources/man/terravel-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# cpack -G DEB in the build folder: terravel_<version>_<arch>.deb, its dependencies read from the
# shared libraries the programs link (dpkg-shlibdeps). The desktop, MIME and icon caches are
# refreshed by the triggers of the Debian packages that own them.
set(CPACK_PACKAGE_NAME terravel)
set(CPACK_PACKAGE_VENDOR "Quillstone Software")
set(CPACK_PACKAGE_CONTACT "Quillstone Software <terravel@quillstone.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for 2.5-D triangle-mesh terrain for UnrealEd")
set(CPACK_PACKAGE_DESCRIPTION "Terravel builds terrain from above as nodes and triangles, with the height\n\
shown on a blue-to-red gradient, and exports it as Unreal text brush geometry\n\
for UnrealEd. terravel-cli converts and inspects the projects in scripts.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://terravel.quillstone.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open shows the manual and the web site.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
