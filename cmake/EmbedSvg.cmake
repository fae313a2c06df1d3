# Writes SVG files into a C++ source fragment as string constants, so that
# the program carries its pictures inside itself. Each file becomes a
# constant named after it: tree-customer.svg becomes kTreeCustomerSvg.
#
#   cmake -DOUTPUT=<file.inc> -DINPUTS=<a.svg;b.svg;...> -P EmbedSvg.cmake
set(text "// Made by cmake/EmbedSvg.cmake from the SVG files of resources/.\n")
foreach(input IN LISTS INPUTS)
    get_filename_component(stem "${input}" NAME_WE)
    string(REPLACE "-" ";" words "${stem}")
    set(name "k")
    foreach(word IN LISTS words)
        string(SUBSTRING "${word}" 0 1 head)
        string(SUBSTRING "${word}" 1 -1 tail)
        string(TOUPPER "${head}" head)
        string(APPEND name "${head}${tail}")
    endforeach()
    file(READ "${input}" svg)
    if(svg MATCHES "\\)svg\"")
        message(FATAL_ERROR "${input} holds the text )svg\" that ends the C++ string")
    endif()
    string(APPEND text "constexpr std::string_view ${name}Svg = R\"svg(${svg})svg\";\n")
endforeach()
# Written only when it changes, so that what includes it is not rebuilt.
set(previous "")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" previous)
endif()
if(NOT previous STREQUAL text)
    file(WRITE "${OUTPUT}" "${text}")
endif()
