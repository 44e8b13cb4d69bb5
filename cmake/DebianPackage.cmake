# The Debian package, built by `cpack` in the build tree from the install rules. Its run-time
# dependencies are read off the installed programs by dpkg-shlibdeps, not listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})  # all four parts of the project version
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_CONTACT "The Quorvel developers <developers@quorvel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tell who holds an Internet address")
# Lines of at most 79 characters, as Debian's package tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel reads a host name, an IPv4 or IPv6 address, a prefix or an AS
number, also as people paste them (a URL, an address with a port, defanged
text), heads the answer with the name and the address, and asks the regional
Internet registries' whois servers (APNIC, TWNIC, ARIN, RIPE NCC, LACNIC and
AFRINIC, with IANA first for IPv6 and AS numbers; TCP port 43) in referral
order until the registry that holds it answers with its record. Private and
loopback addresses are answered at once.")
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

# What only the Debian package holds, beside what the install rules install: the licence as a
# machine-readable copyright file, the package's changelog and lintian's overrides, each with
# the reason of its tag.
set(debian_files ${PROJECT_BINARY_DIR}/debian-files)
set(debian_doc ${debian_files}/share/doc/${CPACK_PACKAGE_NAME})
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _ "${license}")
set(QUORVEL_COPYRIGHT "${CMAKE_MATCH_1}")
# The licence's terms, from "Permission" on, as a copyright file's paragraph: each line indented
# by one blank, an empty line written " .".
string(REGEX REPLACE "^.*\n(Permission )" "\\1" terms "${license}")
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
set(QUORVEL_LICENSE_TEXT " ${terms}")
configure_file(${QUORVEL_PACKAGING_DIR}/debian/copyright.in ${debian_doc}/copyright @ONLY)
configure_file(${QUORVEL_PACKAGING_DIR}/debian/changelog.in ${debian_files}/changelog.Debian @ONLY)
execute_process(COMMAND ${QUORVEL_GZIP} -9nc INPUT_FILE ${debian_files}/changelog.Debian
                OUTPUT_FILE ${debian_doc}/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)
configure_file(${QUORVEL_PACKAGING_DIR}/debian/lintian-overrides
               ${debian_files}/share/lintian/overrides/${CPACK_PACKAGE_NAME} COPYONLY)
set(CPACK_INSTALLED_DIRECTORIES ${debian_files}/share usr/share)  # beside the install rules' /usr

include(CPack)
