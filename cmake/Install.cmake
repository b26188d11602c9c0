# What `cmake --install` lays out. By default the FHS layout of a Linux
# program: the executable in bin, the product site and the starter files in
# share/aobaroku, each user's notebook in their own home. With
# AOBAROKU_PORTABLE one self-contained folder as on Windows, with its data
# folder beside the program.
include(GNUInstallDirs)

option(AOBAROKU_PORTABLE "Install one self-contained folder with the data folder beside the program" OFF)
set(AOBAROKU_APP_ID "example.aobaroku.Aobaroku" CACHE STRING
    "Reverse-DNS id of the desktop entry, the AppStream metainfo and the icon")
target_compile_definitions(aobaroku PRIVATE AOBAROKU_APP_ID="${AOBAROKU_APP_ID}")
target_compile_definitions(aobaroku_ui PRIVATE AOBAROKU_APP_ID="${AOBAROKU_APP_ID}")
target_compile_definitions(aobaroku_core PRIVATE AOBAROKU_APP_ID="${AOBAROKU_APP_ID}")
set(AOBAROKU_HOMEPAGE "https://aobaroku.example/")
set(AOBAROKU_RELEASE_DATE "2026-12-09")
set(AOBAROKU_COPYRIGHT_YEAR "2026")

find_program(AOBAROKU_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(AOBAROKU_GZIP gzip REQUIRED)

set(starter_files ${CMAKE_SOURCE_DIR}/src/plans/sample/sakutuke4.xml)
if(AOBAROKU_STARTER_DATA)
    list(APPEND starter_files ${CMAKE_SOURCE_DIR}/data/starter/sakumotu.xml)
endif()

if(AOBAROKU_PORTABLE)
    install(TARGETS aobaroku RUNTIME DESTINATION .)
    install(DIRECTORY site/ DESTINATION site)
    install(DIRECTORY DESTINATION data)
    # A reinstall must never replace the notebook, so no install(FILES) here.
    foreach(file IN LISTS starter_files)
        get_filename_component(name ${file} NAME)
        install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" -DSRC=${file}
            \"-DDST=\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/data/${name}\"
            -P ${CMAKE_SOURCE_DIR}/cmake/CopyIfAbsent.cmake)")
    endforeach()
    set(AOBAROKU_DESKTOP_EXEC "\"${CMAKE_INSTALL_PREFIX}/aobaroku\"")
else()
    install(TARGETS aobaroku RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(DIRECTORY site/ DESTINATION ${CMAKE_INSTALL_DATADIR}/aobaroku/site)
    install(FILES ${starter_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/aobaroku/starter)
    set(AOBAROKU_DESKTOP_EXEC aobaroku)
endif()

# Made at configure time, installed as plain files.
set(generated ${CMAKE_BINARY_DIR}/generated)
configure_file(data/aobaroku.desktop.in ${generated}/${AOBAROKU_APP_ID}.desktop @ONLY)
configure_file(data/aobaroku.metainfo.xml.in ${generated}/${AOBAROKU_APP_ID}.metainfo.xml @ONLY)
configure_file(data/aobaroku.1.in ${generated}/aobaroku.1 @ONLY)
configure_file(data/debian/changelog ${generated}/changelog.Debian COPYONLY)

# Icons in the sizes menus and software centres ask for, drawn from the one picture.
set(built_files)
set(icon_files)
foreach(size 16 32 48 128 256)
    set(png ${generated}/icons/${size}x${size}/${AOBAROKU_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
        COMMAND ${AOBAROKU_RSVG_CONVERT} --width=${size} --height=${size} --output=${png}
                ${CMAKE_SOURCE_DIR}/data/aobaroku.svg
        DEPENDS ${CMAKE_SOURCE_DIR}/data/aobaroku.svg VERBATIM)
    list(APPEND built_files ${png})
    list(APPEND icon_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Compressed without a name or time stamp, so that a rebuild gives the same bytes.
foreach(page aobaroku.1 changelog.Debian)
    add_custom_command(OUTPUT ${generated}/${page}.gz
        COMMAND ${AOBAROKU_GZIP} -9nkf ${generated}/${page}
        DEPENDS ${generated}/${page} VERBATIM)
    list(APPEND built_files ${generated}/${page}.gz)
endforeach()
add_custom_target(aobaroku_desktop_files ALL DEPENDS ${built_files})
# The same pictures inside the program: its windows have an icon also where
# none is installed (a build tree, a portable folder).
qt_add_resources(aobaroku_ui aobaroku_icons PREFIX /icons BASE ${generated}/icons FILES ${icon_files})

install(FILES data/aobaroku.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${AOBAROKU_APP_ID}.svg)
install(FILES ${generated}/${AOBAROKU_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${AOBAROKU_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/aobaroku.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES data/debian/copyright ${generated}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
