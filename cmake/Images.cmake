# Pictures authored as SVG under res/ are rendered to PNG beside their copies in the resource folder, at 1x
# ("name.png") and 2x ("name@2x.png", used on high-DPI screens).
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
file(GLOB_RECURSE mousecfg_svgs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*.svg)
set(mousecfg_pngs)
foreach(svg IN LISTS mousecfg_svgs)
  file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/res ${svg})
  string(REGEX REPLACE "\\.svg$" "" base ${relative})
  get_filename_component(folder ${CMAKE_BINARY_DIR}/bin/res/${base} DIRECTORY)
  set(png1 ${CMAKE_BINARY_DIR}/bin/res/${base}.png)
  set(png2 ${CMAKE_BINARY_DIR}/bin/res/${base}@2x.png)
  add_custom_command(OUTPUT ${png1} ${png2}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${RSVG_CONVERT} --zoom 1 --output ${png1} ${svg}
    COMMAND ${RSVG_CONVERT} --zoom 2 --output ${png2} ${svg}
    DEPENDS ${svg}
    COMMENT "Rendering ${relative}"
    VERBATIM)
  list(APPEND mousecfg_pngs ${png1} ${png2})
endforeach()
add_custom_target(mousecfg_images ALL DEPENDS ${mousecfg_pngs})
