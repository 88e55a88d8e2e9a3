# "cpack -G DEB" in the build folder makes quillbox_<version>_<arch>.deb from the install rules.
set(CPACK_PACKAGE_NAME quillbox)
set(CPACK_PACKAGE_VENDOR "The Quillbox developers")
set(CPACK_PACKAGE_CONTACT "The Quillbox developers <maintainers@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard-driven note keeper with a tree of folders")
set(CPACK_PACKAGE_DESCRIPTION "Quillbox keeps short notes in a tree of named folders. Each folder \
holds its notes as one plain text; Shift+Return starts a note, and a function key assigned to a \
folder files the note under the cursor there. The package also holds quillbox-cli, which reads \
and writes the same notebook files from scripts.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/quillbox/quillbox")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the SVG icon engine as a plugin, which dpkg-shlibdeps cannot see in the programs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
