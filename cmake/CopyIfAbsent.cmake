# cmake -DSRC=<file> -DDST=<file> -P CopyIfAbsent.cmake
# The starter files never replace a user's own.
if(NOT EXISTS "${DST}")
    get_filename_component(dir "${DST}" DIRECTORY)
    if(IS_DIRECTORY "${dir}")
        file(COPY_FILE "${SRC}" "${DST}")
        message(STATUS "Placed starter ${DST}")
    endif()
endif()
