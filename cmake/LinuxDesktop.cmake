# What a Linux desktop needs besides the executables: the desktop entry, the
# icon in the hicolor theme (the SVG and PNG sizes made from it), the
# AppStream metainfo, and the manual pages that help2man makes from the
# programs' --help and --version.

set(QUILLMAR_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/linux)
set(QUILLMAR_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/icons/quillmar.svg)
set(QUILLMAR_ICON_SIZES 16 22 24 32 48 64 128 256)

find_program(QUILLMAR_RSVG_CONVERT rsvg-convert)
find_program(QUILLMAR_HELP2MAN help2man)
find_program(QUILLMAR_GZIP gzip)

# A package must hold every icon and manual page: without their tools the
# package build stops instead of leaving them out. Other builds go on
# without them.
if(QUILLMAR_DEBIAN_FILES)
    set(QUILLMAR_DESKTOP_TOOL_MISSING FATAL_ERROR)
else()
    set(QUILLMAR_DESKTOP_TOOL_MISSING STATUS)
endif()

# quillmar_install_desktop_files(): the entry, the icons and the metainfo.
function(quillmar_install_desktop_files)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/quillmar.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${QUILLMAR_DESKTOP_DIR}/io.github.veltrane.Quillmar.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${QUILLMAR_ICON_SVG}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    if(NOT QUILLMAR_RSVG_CONVERT)
        message(${QUILLMAR_DESKTOP_TOOL_MISSING} "rsvg-convert not found (Debian librsvg2-bin): only the scalable icon is installed")
        return()
    endif()
    set(pictures)
    foreach(size ${QUILLMAR_ICON_SIZES})
        set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/quillmar.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
            COMMAND ${QUILLMAR_RSVG_CONVERT} --width=${size} --height=${size} --format=png
                    --output=${png} ${QUILLMAR_ICON_SVG}
            DEPENDS ${QUILLMAR_ICON_SVG}
            COMMENT "Drawing the ${size}x${size} icon"
            VERBATIM)
        list(APPEND pictures ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(quillmar_icons ALL DEPENDS ${pictures})
endfunction()

# quillmar_add_man_page(<target> <one-line description>): the manual page of
# an executable, made by help2man from its --help and --version, compressed
# as Debian installs manual pages, and installed into section 1.
function(quillmar_add_man_page target description)
    if(NOT QUILLMAR_HELP2MAN OR NOT QUILLMAR_GZIP)
        message(${QUILLMAR_DESKTOP_TOOL_MISSING} "help2man or gzip not found (Debian help2man): no manual page for ${target}")
        return()
    endif()
    # help2man takes the synopsis from GNU-style "Usage:" and "or:" lines;
    # the programs write "usage:" and indent the further forms instead.
    set(help ${CMAKE_CURRENT_BINARY_DIR}/${target}-help2man.sh)
    file(GENERATE OUTPUT ${help}
        CONTENT "#!/bin/sh\n\"$<TARGET_FILE:${target}>\" \"$@\" | sed -e '1s/^usage: /Usage: /' -e 's/^       \\(${target} \\)/  or:  \\1/'\n"
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${QUILLMAR_HELP2MAN} --no-info --section=1 --name=${description}
                --output=${page} ${help}
        COMMAND ${QUILLMAR_GZIP} -9nf ${page}
        DEPENDS ${target} ${help}
        COMMENT "Making the manual page of ${target}"
        VERBATIM)
    add_custom_target(${target}_man_page ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
