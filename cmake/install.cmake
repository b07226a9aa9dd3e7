# Installation: the program folder under PREFIX/lib/vellumo/ (the executable, its tools and the
# installed data tree, never the working folders), a launcher in PREFIX/bin, the desktop entry
# and the program icon in the hicolor theme. `make package` turns the same layout into a Debian
# package.

set(VELLUMO_INSTALL_FOLDER lib/vellumo)

install(TARGETS vellumo vellumo-tool convert0909 RUNTIME DESTINATION ${VELLUMO_INSTALL_FOLDER})

# The installed data the build laid out in the program folder, folder by folder: the working
# folders beside them (unpack, staging, converted music, the user's templates) stay behind.
foreach(folder
    smxcwjj/wj_0_or_2/wjj_01 smxcwjj/wj_0_or_2/wjj_02 smxcwjj/wj_0_or_9_9
    smxcwjj/wj_0_or_2_2 smxcwjj/wj_0_or_3_3 yinyuegeciwenjian help)
  get_filename_component(parent ${folder} DIRECTORY)
  install(DIRECTORY ${VELLUMO_PROGRAM_FOLDER}/${folder}
          DESTINATION ${VELLUMO_INSTALL_FOLDER}/${parent})
endforeach()

# The launcher finds the program folder from where it is installed itself.
file(RELATIVE_PATH VELLUMO_LAUNCHER_TARGET /prefix/bin /prefix/${VELLUMO_INSTALL_FOLDER}/vellumo)
configure_file(${CMAKE_SOURCE_DIR}/data/install/vellumo.in ${CMAKE_BINARY_DIR}/install/vellumo
               @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/install/vellumo DESTINATION bin)
install(FILES ${CMAKE_SOURCE_DIR}/data/install/vellumo.desktop DESTINATION share/applications)

# The program icon, painted by our own artwork code at the theme's sizes.
set(VELLUMO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(icon_folder ${CMAKE_BINARY_DIR}/install/icons/hicolor)
set(icon_files)
foreach(size ${VELLUMO_ICON_SIZES})
  list(APPEND icon_files ${icon_folder}/${size}x${size}/apps/vellumo.png)
endforeach()
string(REPLACE ";" "," icon_sizes "${VELLUMO_ICON_SIZES}")
add_custom_command(OUTPUT ${icon_files}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:vellumo-tool> icons --out ${icon_folder} --sizes ${icon_sizes}
  DEPENDS vellumo-tool
  COMMENT "Painting the program icon"
  VERBATIM)
add_custom_target(icons ALL DEPENDS ${icon_files})
install(DIRECTORY ${icon_folder} DESTINATION share/icons)

# Debian package: the runtime libraries found by dpkg-shlibdeps, and what the program loads
# without linking it (fonts, OpenCC's configurations, Qt's translations and platform plug-ins).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Vellumo developers <vellumo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Photo album maker with a Chinese user interface")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-noto-cjk, libopencc-data, qt6-translations-l10n, dvdauthor, genisoimage, xorriso, vcdimager, cdrdao")
include(CPack)
