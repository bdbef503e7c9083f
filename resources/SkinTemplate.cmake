# Host build: the built-in artwork as a ready skin folder, to start a skin
# from. Outputs in ${CMAKE_BINARY_DIR}/art/skin-template, at 100 %:
#   page1.png .. page6.png              each character without its background
#                                       (transparent there: the page shows it)
#   page1-blink.png .. page6-blink.png  the same with the eyes closed
#   panel.png buttons.png               as built in, transparent outside them
# Character k (art/char<k>-*.svg) is page k + 1.

find_program(RSVG_CONVERT rsvg-convert REQUIRED)

set(skin_src ${CMAKE_CURRENT_SOURCE_DIR}/art)
set(skin_out ${CMAKE_BINARY_DIR}/art/skin-template)

# rsvg-convert takes one stylesheet: the blink frame's is both in one file,
# rewritten only when either changes.
file(READ ${skin_src}/body-only.css body_css)
file(READ ${skin_src}/eyes-closed.css closed_css)
set(blink_css ${CMAKE_CURRENT_BINARY_DIR}/skin-blink.css)
file(CONFIGURE OUTPUT ${blink_css} CONTENT "${body_css}${closed_css}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${skin_src}/body-only.css ${skin_src}/eyes-closed.css)

set(skin_files)
file(GLOB characters CONFIGURE_DEPENDS ${skin_src}/char[0-9]-*.svg)
foreach(svg ${characters})
  get_filename_component(name ${svg} NAME)
  string(SUBSTRING ${name} 4 1 index)
  math(EXPR page "${index} + 1")
  set(open ${skin_out}/page${page}.png)
  set(blink ${skin_out}/page${page}-blink.png)
  add_custom_command(OUTPUT ${open} ${blink}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${skin_out}
    COMMAND ${RSVG_CONVERT} -s ${skin_src}/body-only.css -o ${open} ${svg}
    COMMAND ${RSVG_CONVERT} -s ${blink_css} -o ${blink} ${svg}
    DEPENDS ${svg} ${skin_src}/body-only.css ${blink_css}
    COMMENT "Skin template: page ${page}"
    VERBATIM)
  list(APPEND skin_files ${open} ${blink})
endforeach()

foreach(part panel buttons)
  add_custom_command(OUTPUT ${skin_out}/${part}.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${skin_out}
    COMMAND ${RSVG_CONVERT} -o ${skin_out}/${part}.png ${skin_src}/${part}.svg
    DEPENDS ${skin_src}/${part}.svg
    COMMENT "Skin template: ${part}"
    VERBATIM)
  list(APPEND skin_files ${skin_out}/${part}.png)
endforeach()

add_custom_target(dida_skin_template ALL DEPENDS ${skin_files})
