# The Debian package (./package.sh): CPack's DEB generator over the install
# rules, with the dependencies read from the libraries the game links
# (dpkg-shlibdeps), and the documents every Debian package carries.
set(henhouse_doc ${CMAKE_BINARY_DIR}/package-doc)
file(MAKE_DIRECTORY ${henhouse_doc})
configure_file(${CMAKE_SOURCE_DIR}/cmake/copyright.in ${henhouse_doc}/copyright @ONLY)
# A package of our own making (a "native" one): its changelog is changelog.gz.
configure_file(${CMAKE_SOURCE_DIR}/cmake/changelog.in ${henhouse_doc}/changelog @ONLY)
add_custom_command(OUTPUT ${henhouse_doc}/changelog.gz
  COMMAND ${HENHOUSE_GZIP} -9n -c ${henhouse_doc}/changelog > ${henhouse_doc}/changelog.gz
  DEPENDS ${henhouse_doc}/changelog
  COMMENT "Compressing the package's changelog")
add_custom_target(package-doc ALL DEPENDS ${henhouse_doc}/changelog.gz)
install(FILES ${henhouse_doc}/copyright ${henhouse_doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/henhouse)

# The font is the system's Liberation Sans, which the game's copy only
# duplicates: a link to it, and the package that holds it as a dependency.
find_file(HENHOUSE_SYSTEM_FONT LiberationSans-Regular.ttf PATHS /usr/share/fonts/truetype/liberation
          NO_DEFAULT_PATH REQUIRED)
# (Relative, as links inside /usr should be.)
file(RELATIVE_PATH henhouse_font_link ${henhouse_full_datadir}/fonts ${HENHOUSE_SYSTEM_FONT})
install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${HENHOUSE_INSTALL_DATADIR}/fonts\")
file(CREATE_LINK ${henhouse_font_link} \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${HENHOUSE_INSTALL_DATADIR}/fonts/Arial.ttf\" SYMBOLIC)")
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME henhouse)
set(CPACK_PACKAGE_VERSION ${HENHOUSE_VERSION})
set(CPACK_PACKAGE_CONTACT "The Henhouse developers <henhouse@henhouse.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mouse-driven poultry farm game")
# The first line is the synopsis; CPack indents the rest as Debian wants.
set(CPACK_PACKAGE_DESCRIPTION "Chicks hatch into the nursery, grow into hens, get hungry and thirsty
and walk to the feeders and drinking bowls, and lay eggs in the nest boxes.
Collect the eggs onto the sorting table, run the scanner to see which are
bad, pack them into cartons for coins, and spend the coins in the shop on
feed, more chickens and specialist visits.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${HENHOUSE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/")
include(CPack)
