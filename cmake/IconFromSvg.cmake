# Makes a Windows icon file from an SVG picture: the picture drawn at each of
# the sizes Windows asks for, put together into one .ico file.
#
#   cmake -DSVG=<picture.svg> -DICO=<icon.ico> -DRSVG_CONVERT=<path>
#         -DCONVERT=<path> -P IconFromSvg.cmake
set(sizes 16 24 32 48 64 256)
get_filename_component(stem "${ICO}" NAME_WE)
get_filename_component(folder "${ICO}" DIRECTORY)
set(work "${folder}/${stem}-sizes")
file(MAKE_DIRECTORY "${work}")
set(pngs)
foreach(size IN LISTS sizes)
    set(png "${work}/${size}.png")
    execute_process(COMMAND "${RSVG_CONVERT}" --width=${size} --height=${size}
                            --output=${png} "${SVG}"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "rsvg-convert could not draw ${SVG} at ${size} pixels")
    endif()
    list(APPEND pngs "${png}")
endforeach()
execute_process(COMMAND "${CONVERT}" ${pngs} "${ICO}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "convert could not write ${ICO}")
endif()
