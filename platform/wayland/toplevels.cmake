# Other windows on wlroots compositors through foreign-toplevel management: the protocol's
# client code is generated from the description kept here. Built only where libwayland-client
# and wayland-scanner are found.
include(${PROJECT_SOURCE_DIR}/cmake/WaylandProtocol.cmake)
if(NOT WAYLAND_CLIENT_FOUND)
  message(STATUS "wayland-client or wayland-scanner missing: no foreign-toplevel backend")
  return()
endif()

add_library(velmora_wayland_toplevels STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ForeignToplevelList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ForeignToplevelWindowSystem.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaylandConnection.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WlrToplevelWire.cpp)
add_wayland_client_protocol(velmora_wayland_toplevels
  wlr-foreign-toplevel-management-unstable-v1
  ${CMAKE_CURRENT_LIST_DIR}/protocols/wlr-foreign-toplevel-management-unstable-v1.xml)
target_link_libraries(velmora_wayland_toplevels PUBLIC velmora_platform_common
                      PRIVATE PkgConfig::WAYLAND_CLIENT)
