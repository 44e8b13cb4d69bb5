# The Windows packages, built by `cpack` in the build tree: a ZIP of the two programs, and an
# installer (NSIS) that puts them under Program Files, adds a Start-menu shortcut for the window
# and registers an uninstaller.
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})  # all four parts, 1.0.0.1
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tell who holds an Internet address")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quorvel)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
    # A 64-bit installer too (NSIS makes 32-bit ones unless told), for 64-bit Windows.
    set(CPACK_NSIS_DEFINES "Target amd64-unicode")
else()
    set(CPACK_SYSTEM_NAME win32)
endif()

# The Start-menu shortcut: the window, named as its caption.
set(CPACK_PACKAGE_EXECUTABLES quorvel Quorvel)
set(CPACK_NSIS_PACKAGE_NAME Quorvel)
set(CPACK_NSIS_DISPLAY_NAME Quorvel)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/icons/quorvel.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/icons/quorvel.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\quorvel.exe")  # the icon the uninstall list shows
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

include(CPack)
