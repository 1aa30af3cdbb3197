# The Debian package, made by CPack from the installed tree (scripts/build-deb.sh):
#   cpack -G DEB   ->  nookvale_<version>_<arch>.deb
# The libraries it needs are named by dpkg-shlibdeps from what the executable links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nookvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Nookvale developers")
set(CPACK_PACKAGE_CONTACT "Nookvale developers <nookvale@nookvale.github.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "casual puzzle game: drop animals on the cells that ask for them")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://nookvale.github.io/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The extended description; CPack puts the summary line before it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Six lines of cells scroll slowly up the screen; every empty cell shows the
silhouette of an animal. Take animals from the panel at the bottom and drop
them on the cells that ask for exactly them; a full line vanishes. Bonus
shapes fill whole lines or areas, a bug carries animals away, and every level
races a clock.

Three modes (Classic, Relax, Transformer), stages of six levels on a level
map, high scores and a saved game per mode.")
include(CPack)
