# The Debian package for school IT: `make deb` (cpack -G DEB in the build
# folder) makes build/kansu-envelope_<version>_<arch>.deb, which installs
# with `apt install ./file.deb`. Its dependencies are read off the program's
# shared libraries by dpkg-shlibdeps, not written here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kansu-envelope)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Velmora <support@velmora.jp>")
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lesson on functions: area of a figure pulled out of an envelope")
set(CPACK_PACKAGE_DESCRIPTION
    "A one-window teaching program for the junior-high lesson on the use of
functions. A figure of squares, rectangles and a right triangle stands in
a 10 cm x 6 cm envelope on a green blackboard and is pulled out to the left
half a centimetre at a time; the program paints the figure, plots the area
against the distance and fills a table of values.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The captions are set in this face; the program says so when it is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-ipafont-gothic)
set(CPACK_STRIP_FILES ON)
include(CPack)
