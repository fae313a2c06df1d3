# The Windows installer quillmar-VERSION-setup.exe, made with NSIS (Debian's
# nsis package) from resources/windows/installer.nsi whenever the
# executables change.

find_program(QUILLMAR_MAKENSIS makensis)
if(NOT QUILLMAR_MAKENSIS)
    message(STATUS "makensis not found (Debian nsis): no Windows installer")
    return()
endif()

set(QUILLMAR_SETUP_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(QUILLMAR_SETUP ${CMAKE_BINARY_DIR}/quillmar-${QUILLMAR_SETUP_VERSION}-setup.exe)
set(QUILLMAR_SETUP_SCRIPT ${PROJECT_SOURCE_DIR}/resources/windows/installer.nsi)
add_custom_command(OUTPUT ${QUILLMAR_SETUP}
    COMMAND ${QUILLMAR_MAKENSIS} -V2 -WX
            -DVERSION=${QUILLMAR_SETUP_VERSION}
            -DVERSION_QUAD=${PROJECT_VERSION}
            -DPROGRAM_EXE=$<TARGET_FILE:quillmar>
            -DCLI_EXE=$<TARGET_FILE:quillmar-cli>
            -DICON=${CMAKE_BINARY_DIR}/resources/icons/quillmar.ico
            -DOUTFILE=${QUILLMAR_SETUP}
            ${QUILLMAR_SETUP_SCRIPT}
    # The icon is drawn from its SVG picture along with the program's.
    DEPENDS quillmar quillmar-cli quillmar_icons ${QUILLMAR_SETUP_SCRIPT}
    COMMENT "Making the installer quillmar-${QUILLMAR_SETUP_VERSION}-setup.exe"
    VERBATIM)
add_custom_target(quillmar_setup ALL DEPENDS ${QUILLMAR_SETUP})
