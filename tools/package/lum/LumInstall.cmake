# Installs lum for other programs: the public headers under include/lum/ with
# the repository's paths (#include "framework/App.h"), the static libraries, a
# CMake package (find_package(lum): lum::lum, lum::headless, lum::sdl,
# lum::sound) and pkg-config files (lum, lum-headless, lum-sdl, lum-sound).
option(VELLORIN_INSTALL_LUM "Install the lum headers, libraries and package files" ON)
if(NOT VELLORIN_INSTALL_LUM)
  return()
endif()
include(CMakePackageConfigHelpers)

set(LUM_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/lum)
set(LUM_INSTALLED lum lum_headless)
foreach(platform sdl sound)
  if(TARGET lum_${platform})
    list(APPEND LUM_INSTALLED lum_${platform})
  endif()
endforeach()
foreach(target IN LISTS LUM_INSTALLED)
  string(REGEX REPLACE "^lum_" "" exportName ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${exportName})
endforeach()

install(TARGETS ${LUM_INSTALLED} EXPORT lumTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT lumTargets NAMESPACE lum:: DESTINATION ${LUM_CMAKE_DIR})
# Only the public headers, each in its folder; the rest are the framework's own.
set(LUM_HEADER_LIST ${CMAKE_CURRENT_LIST_DIR}/public-headers.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LUM_HEADER_LIST})
file(STRINGS ${LUM_HEADER_LIST} LUM_PUBLIC_HEADERS REGEX "^framework/")
foreach(header IN LISTS LUM_PUBLIC_HEADERS)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lum/${folder})
endforeach()

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/lumConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/lumConfig.cmake INSTALL_DESTINATION ${LUM_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/lumConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lumConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/lumConfigVersion.cmake
  DESTINATION ${LUM_CMAKE_DIR})

# pkg-config: lum itself, and one file per platform that adds its library and
# the linker's request for the platform's entry (see lum_platform_library).
function(lum_pc name description libs requires)
  set(LUM_PC_NAME ${name})
  set(LUM_PC_DESCRIPTION ${description})
  set(LUM_PC_LIBS ${libs})
  set(LUM_PC_REQUIRES ${requires})
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/lum.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${name}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()
# The files name their prefix from where they lie, so the tree can be moved.
file(RELATIVE_PATH LUM_PC_UP /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
set(LUM_PC_ENTRY "-Wl,--undefined=${LUM_PLATFORM_ENTRY}")
lum_pc(lum "The lum application framework: states, input, timers, log, software drawing" "-llum" "freetype2 fontconfig")
lum_pc(lum-headless "lum's platform without a window" "${LUM_PC_ENTRY} -llum_headless" "lum")
if(TARGET lum_sdl)
  lum_pc(lum-sdl "lum's desktop platform on SDL2" "${LUM_PC_ENTRY} -llum_sdl" "lum sdl2")
endif()
if(TARGET lum_sound)
  lum_pc(lum-sound "lum's sound layer on SDL2_mixer" "-llum_sound" "lum SDL2_mixer sdl2")
endif()
