# The Debian package quillmar_VERSION-RELEASE_ARCH.deb, made by CPack's DEB
# generator from what "cmake --install" installs (scripts/package.sh
# configures the build for it: Release, prefix /usr, Debian's build flags).

set(QUILLMAR_PACKAGE_MAINTAINER "Veltrane Systems <quillmar@veltrane.example>"
    CACHE STRING "The Maintainer of the Debian package")
set(QUILLMAR_PACKAGE_RELEASE 1 CACHE STRING "The Debian revision of the package")

# The package's documentation folder: the machine-readable copyright file,
# and, for the package only (scripts/package.sh turns it on), the Debian
# changelog (compressed as policy wants it) and lintian's overrides, each
# with its reason.
option(QUILLMAR_DEBIAN_FILES "Install the Debian package's changelog and lintian overrides" OFF)
set(QUILLMAR_PACKAGE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quillmar)
install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/copyright DESTINATION ${QUILLMAR_PACKAGE_DOC_DIR})
find_program(QUILLMAR_GZIP gzip)
if(QUILLMAR_DEBIAN_FILES)
    if(NOT QUILLMAR_GZIP)
        message(FATAL_ERROR "The Debian package needs gzip")
    endif()
    set(changelog ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
    add_custom_command(OUTPUT ${changelog}
        COMMAND sh -c "${QUILLMAR_GZIP} -9nc ${PROJECT_SOURCE_DIR}/resources/linux/changelog.Debian > ${changelog}"
        DEPENDS ${PROJECT_SOURCE_DIR}/resources/linux/changelog.Debian
        COMMENT "Compressing the Debian changelog"
        VERBATIM)
    add_custom_target(quillmar_debian_changelog ALL DEPENDS ${changelog})
    install(FILES ${changelog} DESTINATION ${QUILLMAR_PACKAGE_DOC_DIR})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/linux/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME quillmar)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmar)
set(CPACK_PACKAGE_VENDOR "Veltrane Systems")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_CONTACT ${QUILLMAR_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUILLMAR_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUILLMAR_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/veltrane/quillmar)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The printed listing's font, which fontconfig finds at run time.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "editor for XML insurance rate files
Quillmar opens the XML rate files that an insurance vendor delivers
(customers with their insurance plans) as a tree, with the selected
element's text beside it. The user edits the two values of a plan that
belong to them, the data processor key and the plan description, deletes
plans, saves the file indented or compressed with a time-stamped backup,
merges a newly delivered rate file into the loaded one with those values
carried over by plan key, and prints the file as a paged listing.
.
The package holds the desktop application quillmar and the command-line
tool quillmar-cli, which does the same to rate files without a display.")
include(CPack)
