# Client code for a Wayland protocol, generated from its XML description by the system's
# wayland-scanner at build time. Sets WAYLAND_CLIENT_FOUND and WAYLAND_PROTOCOLS_DIR (the
# system's wayland-protocols, possibly empty) for the includer.
find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT IMPORTED_TARGET wayland-client)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)
if(NOT WAYLAND_SCANNER)
  set(WAYLAND_CLIENT_FOUND FALSE)
endif()
# The generated glue is C: compiled as C++ its interface tables would lose their linkage.
# Enabled here, at the includer's file scope, as CMake requires.
if(WAYLAND_CLIENT_FOUND)
  enable_language(C)
endif()

# Adds NAME-client-protocol.h and NAME-protocol.c, generated from XML, to TARGET, with the
# folder they are written to on its include path.
function(add_wayland_client_protocol target name xml)
  set(generated "${CMAKE_CURRENT_BINARY_DIR}/generated")
  add_custom_command(
    OUTPUT "${generated}/${name}-client-protocol.h" "${generated}/${name}-protocol.c"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${generated}"
    COMMAND "${WAYLAND_SCANNER}" client-header "${xml}" "${generated}/${name}-client-protocol.h"
    COMMAND "${WAYLAND_SCANNER}" private-code "${xml}" "${generated}/${name}-protocol.c"
    DEPENDS "${xml}"
    VERBATIM)
  target_sources(${target} PRIVATE "${generated}/${name}-protocol.c"
                                   "${generated}/${name}-client-protocol.h")
  target_include_directories(${target} PRIVATE "${generated}")
endfunction()
