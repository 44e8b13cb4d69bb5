# The Debian package, built by `cpack` in the build tree from the install rules. Its run-time
# dependencies are read off the installed programs by dpkg-shlibdeps, not listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})  # all four parts, 1.0.0.1
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_CONTACT "The Quorvel developers <developers@quorvel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tell who holds an Internet address")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel resolves a host name or a dotted IPv4 address, heads the answer with the name
and the address, and asks the regional Internet registries' whois servers (APNIC,
TWNIC, ARIN, RIPE NCC and LACNIC, TCP port 43) in referral order until the registry
that holds the address answers with its record. Private and loopback addresses are
answered at once.")
if(TARGET quorvel)
    string(APPEND CPACK_PACKAGE_DESCRIPTION
           "\n\nIt holds the Quorvel window and quorvel-lookup, the same lookup for\nterminals and scripts.")
else()
    string(APPEND CPACK_PACKAGE_DESCRIPTION
           "\n\nIt holds quorvel-lookup, the lookup for terminals and scripts.")
endif()
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)  # the build keeps debugging information; the package does not

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvel.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
