# Manual pages, AppStream metadata, package documents and the Debian package built by CPack.
# Expects VANDORA_APP_ID, the reverse-DNS name of the desktop entry, the icon and the metadata.

set(VANDORA_MAINTAINER "Vandora maintainers <maintainers@users.noreply.c-seed-b16d5d14.example>")
set(VANDORA_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/vandora)

# Manual pages carry the project's version and are installed compressed the way Debian expects.
set(VANDORA_MANPAGES)
foreach(page vandora.1 vandora-render.1)
    configure_file(${CMAKE_SOURCE_DIR}/dist/${page}.in ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
        COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/man/${page}
        DEPENDS ${CMAKE_BINARY_DIR}/man/${page}
        VERBATIM)
    list(APPEND VANDORA_MANPAGES ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/dist/changelog.in ${CMAKE_BINARY_DIR}/doc/changelog @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/dist/copyright.in ${CMAKE_BINARY_DIR}/doc/copyright @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/doc/changelog.gz
    COMMAND gzip -9nf -k ${CMAKE_BINARY_DIR}/doc/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/doc/changelog
    VERBATIM)
add_custom_target(vandora_documents ALL DEPENDS ${VANDORA_MANPAGES} ${CMAKE_BINARY_DIR}/doc/changelog.gz)

install(FILES ${VANDORA_MANPAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES dist/${VANDORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/doc/changelog.gz ${CMAKE_BINARY_DIR}/doc/copyright
    DESTINATION ${VANDORA_PACKAGE_DOCDIR})

# cpack -G DEB (or the "package" target) in a build configured with CMAKE_INSTALL_PREFIX=/usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vandora)
set(CPACK_PACKAGE_VENDOR "Vandora maintainers")
set(CPACK_PACKAGE_CONTACT "${VANDORA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "flowchart editor that turns charts into text drawings")
# Lines of at most 80 characters; CPack indents them for the control file.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Vandora draws flowcharts on a square canvas: text boxes joined by connectors"
    "drawn freehand or in straight runs. Beside the canvas the same chart is shown"
    "as a grid of characters, every row framed by a start tag and an end tag,"
    "ready to be pasted into source code as a comment."
    ""
    "The package also holds vandora-render, which prints the text drawing of a"
    "saved chart without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VANDORA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
