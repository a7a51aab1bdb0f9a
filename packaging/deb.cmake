# The Debian package's settings for CPack, read by app/CMakeLists.txt after
# its install rules; `make package` runs `cpack -G DEB` in the build folder.
set(CPACK_PACKAGE_NAME veltrax)
set(CPACK_PACKAGE_VENDOR "Veltrax developers")
set(CPACK_PACKAGE_CONTACT "Veltrax developers <dev@veltrax.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "molar mass, percent composition and empirical formula")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Veltrax is a small desktop tool for elementary stoichiometry with a Russian
user interface. Type a chemical formula such as Ca(OH)2: it is drawn with its
digits as subscripts, and Enter writes its molar mass, the mass percentage of
every element and a check line. Type a percent composition, one element per
line, and the empirical formula is drawn with n-subscripts.
.
The atomic masses come from a plain text table that the user may edit.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The platform plugins, Qt's Russian texts and the face of the formula drawing
# are loaded at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
if(VELTRAX_WEB_PAGE)
  # The page's menu entry (app/CMakeLists.txt) opens it with xdg-open.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", xdg-utils")
endif()
include(CPack)
