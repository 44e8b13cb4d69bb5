# wxWidgets for the Linux window: the GTK 3 build. One interface target carries its headers (as
# system headers, so our warning set does not judge them), definitions and libraries.
find_package(wxWidgets 3.2 REQUIRED COMPONENTS xrc core base)

add_library(quorvel_wx INTERFACE)
target_include_directories(quorvel_wx SYSTEM INTERFACE ${wxWidgets_INCLUDE_DIRS})
target_compile_definitions(quorvel_wx INTERFACE ${wxWidgets_DEFINITIONS}
                                                $<$<CONFIG:Debug>:${wxWidgets_DEFINITIONS_DEBUG}>)
target_compile_options(quorvel_wx INTERFACE ${wxWidgets_CXX_FLAGS})
target_link_libraries(quorvel_wx INTERFACE ${wxWidgets_LIBRARIES})

# wxrc turns the dialog layouts into C++ that puts them into the binary.
find_program(QUORVEL_WXRC NAMES wxrc wxrc-3.2 REQUIRED)
