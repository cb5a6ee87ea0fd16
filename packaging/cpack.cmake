# `make package`: a Debian package of the install tree under /usr,
# mensura_10.4.0_amd64.deb. Included from the top-level CMakeLists.txt.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mensura)
set(CPACK_PACKAGE_VENDOR "The Mensura developers")
set(CPACK_PACKAGE_CONTACT "The Mensura developers <mensura@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "unit converter for lengths, weights and capacities")
# The extended description, wrapped for 80-column terminals.
set(CPACK_PACKAGE_DESCRIPTION [[
Mensura is a small desktop unit converter. Pick a category (length,
weight or capacity), type a number and pick the unit it is in: the
window shows the same quantity in all fifteen units of the category at
once, from inches to leagues and millimetres to kilometres, drams to
tons and milligrams to kilograms, teaspoons to US barrels and
millilitres to kilolitres.

Values are grouped with the separators of the user's number settings and
rounded to at most seven decimals. Every conversion comes from a fixed
table of constants. A compiled HTML help file comes with it.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders the package creates are rwxr-xr-x whatever the builder's umask
# (a user's is 002 on Debian 13, which made them group-writable).
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # <name>_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# No Homepage: the project has no site of its own.
# The shared libraries come from the binary through dpkg-shlibdeps (dpkg-dev).
# What the binary does not link but needs at run time is named here: the
# Arial-metric fonts the window is laid out for. The xcb and offscreen
# platform plugins and the JPEG and GIF image plugins are in libqt6gui6,
# which the binary links, so no other Qt package is needed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation)
# The default font of menus and the help window is fontconfig's sans-serif.
# With Liberation as the only fonts (a minimal system) that resolves to
# Liberation Mono; DejaVu Sans, Debian's usual default, gives a proper one.
# Most desktops have it already, hence a recommendation, not a dependency.
# Qt's Wayland plugin lets the program run natively in a Wayland session
# (Debian 13's Qt brings it anyway); without it Qt falls back to XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland")
# No maintainer scripts: the caches are refreshed by dpkg file triggers of
# the packages that own them, whenever any package adds or removes files in
# their folders: desktop-file-utils on /usr/share/applications (the MIME
# cache), hicolor-icon-theme on /usr/share/icons/hicolor (gtk-update-icon-cache)
# and man-db on /usr/share/man. Software centres read /usr/share/metainfo
# directly.

include(CPack)
