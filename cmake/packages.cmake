# What `cpack` makes: one ZIP per Windows architecture, a Debian package
# elsewhere. Both carry the version of project().
set(CPACK_PACKAGE_NAME sifteron)
set(CPACK_PACKAGE_VENDOR "The Sifteron developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "extract delimited text from text files and resource scripts")

if(WIN32)
  # The programs at the top of the ZIP, beside the README and the licence.
  install(FILES README.md LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME sifteron-${PROJECT_VERSION}-win64)
  else()
    set(CPACK_PACKAGE_FILE_NAME sifteron-${PROJECT_VERSION}-win32)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/dist/linux/description.txt)
  set(CPACK_PACKAGE_CONTACT ${SIFTERON_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION text)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://sifteron.org/)
  # Depends: from the libraries the programs link, by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The window shows Qt's own dialogs in German only with Qt's translations.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
  set(CPACK_STRIP_FILES ON)
endif()
include(CPack)
