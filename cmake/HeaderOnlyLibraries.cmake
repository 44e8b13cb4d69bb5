# CLI11 (quorvel-lookup's options) and nlohmann/json (its JSON Lines): header-only libraries from
# Debian's packages libcli11-dev and nlohmann-json3-dev, as the target quorvel_header_only. A
# Windows cross build takes the same headers: they are linked into a folder of their own, so that
# the cross compiler sees them and none of Debian's other headers.
add_library(quorvel_header_only INTERFACE)
if(CMAKE_CROSSCOMPILING)
    set(QUORVEL_HEADER_ONLY_SOURCE /usr/include CACHE PATH
        "Where the headers of CLI11 (CLI/) and nlohmann/json (nlohmann/) are")
    set(linked ${CMAKE_BINARY_DIR}/header-only)
    file(MAKE_DIRECTORY ${linked})
    foreach(folder CLI nlohmann)
        if(NOT EXISTS ${QUORVEL_HEADER_ONLY_SOURCE}/${folder})
            message(FATAL_ERROR "${QUORVEL_HEADER_ONLY_SOURCE}/${folder} is missing: "
                                "scripts/install-deps.sh installs it")
        endif()
        file(CREATE_LINK ${QUORVEL_HEADER_ONLY_SOURCE}/${folder} ${linked}/${folder} SYMBOLIC)
    endforeach()
    # SYSTEM: our warning set does not judge their headers.
    target_include_directories(quorvel_header_only SYSTEM INTERFACE ${linked})
else()
    find_package(CLI11 CONFIG REQUIRED)
    find_package(nlohmann_json CONFIG REQUIRED)
    target_link_libraries(quorvel_header_only INTERFACE CLI11::CLI11 nlohmann_json::nlohmann_json)
endif()
