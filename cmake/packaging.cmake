# `make package`: a Debian package of the installed files, its dependencies found from the
# libraries the program links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Scale calculator for model builders")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Converts a length between its real-world size and its size in a model for a scale\n ratio such as 1 : 87, with clipboard, a calculation log and a German interface.")
set(CPACK_PACKAGE_CONTACT "Vantrelo developers <vantrelo@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its X11 platform plugin at run time, so no library dependency names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
include(CPack)
