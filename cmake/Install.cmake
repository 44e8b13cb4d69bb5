# What a native install puts where, under CMAKE_INSTALL_PREFIX (and DESTDIR): the programs
# (installed by their own folders), their man pages and, when the window is built, what the
# desktop shows of it: the menu entry, the software-centre metainfo and the icons. Windows
# builds install the programs alone, and package them for Windows.
include(GNUInstallDirs)
if(WIN32)
    include(WindowsPackage)
    return()
endif()

# The application id, the project's home written backwards: it names the desktop entry, the
# metainfo and the icons. Cached so that scripts/check-package.sh reads it off the build tree.
set(QUORVEL_APP_ID example.quorvel.Quorvel CACHE INTERNAL "the desktop's application id")
set(QUORVEL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
# The packaging files with the version and the application id filled in.
set(QUORVEL_PACKAGING_BUILD_DIR ${PROJECT_BINARY_DIR}/packaging)

# Man pages are installed gzip-compressed, as Debian ships them; -n leaves out the time stamp
# so that the same page always gives the same package.
find_program(QUORVEL_GZIP gzip)
add_custom_target(quorvel_man_pages ALL)

function(quorvel_install_man_page name)
    set(page ${QUORVEL_PACKAGING_BUILD_DIR}/man/${name}.1)
    configure_file(${QUORVEL_PACKAGING_DIR}/man/${name}.1.in ${page} @ONLY)
    if(NOT QUORVEL_GZIP)
        install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        return()
    endif()
    set(copy ${PROJECT_BINARY_DIR}/man/${name}.1)
    add_custom_command(
        OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${page} ${copy}
        COMMAND ${QUORVEL_GZIP} -9nf ${copy}
        DEPENDS ${page}
        COMMENT "Compressing the man page ${name}(1)"
        VERBATIM)
    add_custom_target(quorvel_man_${name} DEPENDS ${copy}.gz)
    add_dependencies(quorvel_man_pages quorvel_man_${name})
    install(FILES ${copy}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

quorvel_install_man_page(quorvel-lookup)

if(TARGET quorvel)
    quorvel_install_man_page(quorvel)
    set(desktop_entry ${QUORVEL_PACKAGING_BUILD_DIR}/${QUORVEL_APP_ID}.desktop)
    set(metainfo ${QUORVEL_PACKAGING_BUILD_DIR}/${QUORVEL_APP_ID}.metainfo.xml)
    configure_file(${QUORVEL_PACKAGING_DIR}/quorvel.desktop.in ${desktop_entry} @ONLY)
    configure_file(${QUORVEL_PACKAGING_DIR}/quorvel.metainfo.xml.in ${metainfo} @ONLY)
    install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    set(icons ${QUORVEL_PACKAGING_DIR}/icons/hicolor)
    foreach(size 16x16 32x32 48x48)
        install(FILES ${icons}/${size}/apps/quorvel.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps
                RENAME ${QUORVEL_APP_ID}.png)
    endforeach()
    install(FILES ${icons}/scalable/apps/quorvel.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${QUORVEL_APP_ID}.svg)
endif()

include(DebianPackage)
