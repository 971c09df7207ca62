# cpack -G DEB (in the build folder) makes quorvex7_<version>_<arch>.deb. Its library dependencies
# come from dpkg-shlibdeps; Qt's X11 platform plugin and ISA-L (for PNG files) are loaded at run time,
# so they are named here.
set(CPACK_PACKAGE_NAME quorvex7)
set(CPACK_PACKAGE_VENDOR "The Quorvex7 developers")
set(CPACK_PACKAGE_CONTACT "The Quorvex7 developers <developers@quorvex7.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen grabber with a picture view and a scriptable command line")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quorvex7 grabs the whole screen, the area inside a see-through frame or\n"
    "an area of a typed-in size, shows it in a picture view where it is zoomed,\n"
    "turned and mirrored, and saves it as BMP or JPEG, copies it to the\n"
    "clipboard or prints it. From the command line, quorvex7 --grab writes PNG,\n"
    "JPEG or BMP to a file, to a new file in a folder, or to standard output.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quorvex7.com/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libisal2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-user-dirs")
# Debian keeps manual pages compressed; an installed tree keeps them as they are.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/QuorvexPackageManPages.cmake)
include(CPack)
