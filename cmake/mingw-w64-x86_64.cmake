# Cross-builds the Windows executables on Debian with mingw-w64 (the posix
# thread model, which the standard library's threads and mutexes need).
# Point wxWidgets_CONFIG_EXECUTABLE at the wx-config of a wxWidgets built for
# this host (scripts/windows-wx.sh builds one).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLMAR_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLMAR_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLMAR_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLMAR_MINGW_HOST}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLMAR_MINGW_HOST})
# The toolkit's headers and libraries are found under its own prefix too.
if(wxWidgets_CONFIG_EXECUTABLE)
    get_filename_component(QUILLMAR_WX_PREFIX "${wxWidgets_CONFIG_EXECUTABLE}" DIRECTORY)
    get_filename_component(QUILLMAR_WX_PREFIX "${QUILLMAR_WX_PREFIX}" DIRECTORY)
    list(APPEND CMAKE_FIND_ROOT_PATH ${QUILLMAR_WX_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: no compiler runtime DLLs to ship beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests of the cross build run under Wine.
find_program(QUILLMAR_WINE NAMES wine wine64)
if(QUILLMAR_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLMAR_WINE})
endif()

# GCC 12 reports false overflows inside std::string at -O3 (-Wrestrict,
# -Wstringop-overread); -O2 makes the same code without them.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of release builds")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of release builds")
