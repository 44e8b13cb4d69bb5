# What a native install puts where, under CMAKE_INSTALL_PREFIX (and DESTDIR): the programs
# (installed by their own folders), their man pages and, when the window is built, what the
# desktop shows of it: the menu entry, the software-centre metainfo and the icons. Windows
# builds install the programs alone, and package them for Windows.
include(GNUInstallDirs)
if(WIN32)
    include(WindowsPackage)
    return()
endif()

set(QUORVEL_APP_ID example.quorvel.Quorvel)  # names the desktop entry, metainfo and icons
set(QUORVEL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# Man pages are installed gzip-compressed, as Debian ships them; -n leaves out the time stamp
# so that the same page always gives the same package.
find_program(QUORVEL_GZIP gzip)
add_custom_target(quorvel_man_pages ALL)

function(quorvel_install_man_page name)
    set(page ${QUORVEL_PACKAGING_DIR}/man/${name}.1)
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
    install(FILES ${QUORVEL_PACKAGING_DIR}/${QUORVEL_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${QUORVEL_PACKAGING_DIR}/${QUORVEL_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(DIRECTORY ${QUORVEL_PACKAGING_DIR}/icons/hicolor
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
            FILES_MATCHING PATTERN "*.png" PATTERN "*.svg")
endif()

include(DebianPackage)
