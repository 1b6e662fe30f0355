# The Debian package: `cpack -G DEB` in a build directory makes quorbel98_<version>_<arch>.deb.
# dpkg-shlibdeps finds the libraries the program links against; what it loads at run time
# is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorbel98)
set(CPACK_PACKAGE_VENDOR "Quorbel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Katalog einer privaten Sammlung von Videokassetten")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Kassetten mit Spielzeit und freien Minuten, die Filme darauf, Verleih mit Erinnerungen, "
       "Planung von Fernsehaufnahmen, Filmübersicht, gedruckte Filmliste und Kassettenetikett.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quorbel-Entwickler <quorbel98@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system's plugin (libqt6gui6 only recommends it); Qt's German texts and the
# fonts for printing and metafile pictures are good to have.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation2, fonts-urw-base35")
include(CPack)
