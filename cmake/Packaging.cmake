# `cpack -G DEB` in the build folder makes an installable Debian package.
set(CPACK_PACKAGE_NAME daystride)
set(CPACK_PACKAGE_VENDOR "Daystride")
set(CPACK_PACKAGE_CONTACT "Daystride developers <daystride@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Count down to your next event from the panel")
set(CPACK_PACKAGE_DESCRIPTION "Daystride keeps a countdown to one event in the desktop panel and covers every screen with a full-screen countdown when you step away.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The typefaces of the popover and the countdown are no libraries, so shlibdeps
# cannot find them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-quicksand, fonts-mplus")
# Qt's own words (dialog buttons, context menus) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
include(CPack)
