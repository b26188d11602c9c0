# `cpack -G DEB` in a plain build folder makes aobaroku_VERSION-1_ARCH.deb of
# the FHS layout. Its library dependencies come from dpkg-shlibdeps alone; the
# two named here are what the program needs beyond its libraries: Japanese
# fonts, and Qt's Japanese texts for the standard dialogs.

# Debian links its programs with every relocation resolved at start and then
# made read-only.
target_link_options(aobaroku PRIVATE LINKER:-z,relro LINKER:-z,now)

if(AOBAROKU_PORTABLE)
    return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME aobaroku)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Aobaroku developers")
set(CPACK_PACKAGE_CONTACT "The Aobaroku developers <aobaroku@aobaroku.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${AOBAROKU_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries the linker finds do not bring the window system's plugin, which
# Qt only recommends: without it the window cannot open. Links and the help page
# open through xdg-open, which fails with a message where it is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, qt6-translations-l10n, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "notebook for a home vegetable garden")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Aobaroku (青葉録) keeps what a home vegetable gardener writes down over the
year in one window with a Japanese user interface: a catalogue of crops with
their varieties, cultivation periods and spacing, planting plans drawn week
by week, a yearly schedule of tasks, a ledger of purchases in yen and
favourite links. Crops, tasks and purchases print as cards to take into the
garden, and plans and cards save as JPEG images for a blog.
.
Each user's notebook is kept in ~/.local/share/aobaroku, in the same files
the Windows version reads and writes.")

include(CPack)
