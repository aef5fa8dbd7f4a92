# The web version's site, build-web/site/: vellorin.js and vellorin.wasm, the
# pictures, music and font packed into vellorin.data (preloaded into the
# page's file system, the pictures and music in its working directory, the
# font in /fonts where the font lookup finds it), and index.html.
set(VELLORIN_SITE ${PROJECT_BINARY_DIR}/site)
find_path(VELLORIN_LIBERATION_DIR LiberationMono-Regular.ttf
  PATHS /usr/share/fonts/truetype/liberation /usr/share/fonts/truetype/liberation2 NO_CMAKE_FIND_ROOT_PATH REQUIRED)

file(GLOB VELLORIN_WEB_ASSETS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*.bmp ${PROJECT_SOURCE_DIR}/assets/*.mp3)
set(VELLORIN_WEB_PACKED)
foreach(asset IN LISTS VELLORIN_WEB_ASSETS)
  get_filename_component(name ${asset} NAME)
  list(APPEND VELLORIN_WEB_PACKED "SHELL:--preload-file ${asset}@/${name}")
endforeach()
foreach(style Regular Bold Italic BoldItalic)
  set(font ${VELLORIN_LIBERATION_DIR}/LiberationMono-${style}.ttf)
  list(APPEND VELLORIN_WEB_ASSETS ${font})
  list(APPEND VELLORIN_WEB_PACKED "SHELL:--preload-file ${font}@/fonts/LiberationMono-${style}.ttf")
endforeach()

set_target_properties(vellorin PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${VELLORIN_SITE}
  LINK_DEPENDS "${VELLORIN_WEB_ASSETS}")
target_link_options(vellorin PRIVATE ${VELLORIN_WEB_PACKED})
add_custom_command(TARGET vellorin POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/index.html ${VELLORIN_SITE}/index.html
  VERBATIM)
