# GoogleTest and GoogleMock. Natively Debian's packaged build; for a Windows cross build there is
# no packaged one, so Debian's sources (package googletest) are built with the cross toolchain.
if(CMAKE_CROSSCOMPILING AND WIN32)
    set(QUORVEL_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # SYSTEM: our warning set does not judge GoogleTest's headers.
    add_subdirectory(${QUORVEL_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest
                     EXCLUDE_FROM_ALL SYSTEM)
    # The test programs run under wine: list their tests when ctest runs, inside the test
    # sandbox with its warm wine server, not while building.
    set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
    # The tests that start wine themselves use the build's own prefix.
    set(QUORVEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wine CACHE PATH "The wine prefix the tests run in")
else()
    find_package(GTest REQUIRED)
endif()
include(GoogleTest)
