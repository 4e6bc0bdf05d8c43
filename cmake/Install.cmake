# Installing the game the way games are installed on Linux: the executable,
# its data, a desktop entry, icons in the hicolor theme, AppStream metainfo
# and a man page. `cmake --install build/main` puts them under the prefix;
# ./package.sh makes a Debian package of the same (under /usr/games and
# /usr/share/games/henhouse, as Debian keeps games).
include(GNUInstallDirs)

set(HENHOUSE_APP_ID "org.henhouse.henhouse" CACHE STRING
    "The game's id: the desktop entry's, the icons' and the metainfo's name")
set(HENHOUSE_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/henhouse" CACHE STRING
    "Where the images, font and sounds go, under the prefix")
set(HENHOUSE_HOMEPAGE "https://henhouse.example.org/" CACHE STRING
    "The game's home page; the metainfo's screenshots are its docs/ pictures")
set(HENHOUSE_VERSION "1.0.0" CACHE STRING "The version in the metainfo's release and the package")
set(HENHOUSE_RELEASE_DATE "2026-12-08" CACHE STRING "The date of that release")

# The game finds its installed data from its own path (the data folder
# relative to the executable's folder), else from the prefix.
cmake_path(ABSOLUTE_PATH HENHOUSE_INSTALL_DATADIR BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
           NORMALIZE OUTPUT_VARIABLE henhouse_full_datadir)
file(RELATIVE_PATH henhouse_data_from_exe "${CMAKE_INSTALL_FULL_BINDIR}" "${henhouse_full_datadir}")
target_compile_definitions(henhouse_app PUBLIC HENHOUSE_DATA_FROM_EXECUTABLE="${henhouse_data_from_exe}"
                                               HENHOUSE_INSTALLED_DATA="${henhouse_full_datadir}")

# The icons: painted by the asset generator's icon painter at every hicolor
# size, plus a scalable one.
set(henhouse_icons ${CMAKE_BINARY_DIR}/icons)
set(henhouse_icon_stamp ${henhouse_icons}/.painted)
add_custom_command(OUTPUT ${henhouse_icon_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${henhouse_icons}/hicolor
  COMMAND henhouse-icons ${henhouse_icons} ${HENHOUSE_APP_ID}
  COMMAND ${CMAKE_COMMAND} -E touch ${henhouse_icon_stamp}
  DEPENDS henhouse-icons
  COMMENT "Painting the game's icons")

# The man page, made from the README's table of options so the two never disagree.
set(henhouse_man ${CMAKE_BINARY_DIR}/man/henhouse.6)
add_custom_command(OUTPUT ${henhouse_man}
  COMMAND ${CMAKE_COMMAND} -DREADME=${CMAKE_SOURCE_DIR}/README.md -DOUT=${henhouse_man}
          -DVERSION=${HENHOUSE_VERSION} -DDATE=${HENHOUSE_RELEASE_DATE}
          -DDATADIR=${henhouse_full_datadir} -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
  COMMENT "Writing the man page")
option(HENHOUSE_PACKAGE "Build the Debian package's extras (compressed man page, copyright, changelog)" OFF)
if(HENHOUSE_PACKAGE)
  find_program(HENHOUSE_GZIP gzip REQUIRED)
  add_custom_command(OUTPUT ${henhouse_man}.gz
    COMMAND ${HENHOUSE_GZIP} -9n -c ${henhouse_man} > ${henhouse_man}.gz
    DEPENDS ${henhouse_man}
    COMMENT "Compressing the man page")
  set(henhouse_man ${henhouse_man}.gz)
endif()
add_custom_target(install-extras ALL DEPENDS ${henhouse_icon_stamp} ${henhouse_man})

# The desktop entry and the metainfo.
set(HENHOUSE_EXEC "${CMAKE_INSTALL_FULL_BINDIR}/henhouse")
configure_file(${CMAKE_SOURCE_DIR}/cmake/henhouse.desktop.in ${CMAKE_BINARY_DIR}/${HENHOUSE_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/cmake/henhouse.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${HENHOUSE_APP_ID}.metainfo.xml @ONLY)

install(TARGETS henhouse RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The generated data: the main tree's own, or the tree it borrows from.
if(HENHOUSE_ASSETS_FROM)
  set(henhouse_data_source ${HENHOUSE_ASSETS_FROM}/src)
else()
  set(henhouse_data_source ${HENHOUSE_RUN_DIR}/src)
endif()
# The folder's own files even when it is a link to another tree's (as a
# borrowing tree's is); the package links the font to the system's copy
# instead (see Package.cmake).
set(henhouse_data_patterns PATTERN ".generated" EXCLUDE)
if(HENHOUSE_PACKAGE)
  list(APPEND henhouse_data_patterns PATTERN "Arial.ttf" EXCLUDE)
endif()
install(CODE "file(REAL_PATH \"${henhouse_data_source}\" henhouse_data_real)
file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${HENHOUSE_INSTALL_DATADIR}\" TYPE DIRECTORY
     FILES \"\${henhouse_data_real}/\" ${henhouse_data_patterns})")
install(FILES ${CMAKE_BINARY_DIR}/${HENHOUSE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/${HENHOUSE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${henhouse_icons}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${henhouse_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

if(HENHOUSE_PACKAGE)
  include(${CMAKE_SOURCE_DIR}/cmake/Package.cmake)
endif()
