# Read by CPack for each generator. The Debian package is installed into /usr with DESTDIR, so that
# the install step knows the real prefix (/usr) when it writes the menu entry's launcher path.
if(CPACK_GENERATOR STREQUAL "DEB")
    set(CPACK_SET_DESTDIR ON)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_INSTALL_PREFIX /usr)
endif()
