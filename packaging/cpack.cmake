# The Debian package: `make package` writes build/lumora_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lumora developers")
set(CPACK_PACKAGE_CONTACT "Lumora developers <dev@lumora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "courseware on the human eye, vision and optical illusions (Traditional Chinese)")
# CPack puts the summary on the Description line and indents this text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Lumora is a course for pupils who read Traditional Chinese: twenty pages of
lessons and labelled diagrams on the eye, a test that finds the blind spot of
each eye, and ten optical illusions whose explanations appear on request.

Start it from the desktop menu (Education) or with the command lumora.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the two programs link (Qt 6 Core, Gui and Widgets, libxcb, libwayland-client,
# the C++ runtime) come from dpkg-shlibdeps, and with them qt6-base-abi (= the Qt version built
# against): Qt's symbols file asks for it of every program that uses Qt's private interfaces, as
# the screen-reader mends and the activation token do. Added by hand: the xcb platform plugin Qt
# loads at run time, the fonts the pages are set in (AR PL Mingti and Kaiti for the texts,
# Liberation Serif for the Latin headings and the digit buttons), and Qt's translations, whose
# Traditional Chinese gives the failure report's button its caption (確定). Depending on Debian's
# package, rather than carrying a copy of its file, keeps the translation the one of the Qt in
# use, updated with it, and the course folder what the build makes.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
list(JOIN LUMORA_CHINESE_FONT_PACKAGES ", " chinese_fonts)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, ${chinese_fonts}, fonts-liberation2, qt6-translations-l10n")
# Qt's Wayland platform, which Qt 6 chooses in a Wayland session when it is installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
