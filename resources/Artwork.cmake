# Host build: renders the SVG art sources and turns them into the archive the
# program embeds. Outputs in ${CMAKE_BINARY_DIR}/art:
#   char.tw buttons.tw panel.tw mask1.bmp mask2.bmp click.wav  the entries
#   archive.idx archive.dat                                    the archive
#   dida.ico                                                   icon 128
#   preview.png                                                every picture as decoded
# Intermediate renders are kept in art/render for inspection. Every step makes
# the folders it writes to, so deleting art/ and building again redoes it all.

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
find_program(SOX sox REQUIRED)

set(DIDA_ART_OUT ${CMAKE_BINARY_DIR}/art)
set(DIDA_ART_RENDER ${DIDA_ART_OUT}/render)
set(DIDA_ART_SRC ${CMAKE_CURRENT_SOURCE_DIR}/art)

# Behind the rounded corners of the outline: never shown.
set(DIDA_ART_MATTE "#3f3545")
set(DIDA_CHARACTERS char0-cat char1-bear char2-rabbit char3-frog char4-penguin char5-fox)

# ---- renders ----------------------------------------------------------------
set(sheet_inputs)
foreach(character ${DIDA_CHARACTERS})
  set(svg ${DIDA_ART_SRC}/${character}.svg)
  set(base ${DIDA_ART_RENDER}/${character})
  add_custom_command(OUTPUT ${base}-open.png ${base}-half.png ${base}-closed.png ${base}-body.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIDA_ART_RENDER}
    COMMAND ${RSVG_CONVERT} -b ${DIDA_ART_MATTE} -o ${base}-open.png ${svg}
    COMMAND ${RSVG_CONVERT} -b ${DIDA_ART_MATTE} -s ${DIDA_ART_SRC}/eyes-half.css
            -o ${base}-half.png ${svg}
    COMMAND ${RSVG_CONVERT} -b ${DIDA_ART_MATTE} -s ${DIDA_ART_SRC}/eyes-closed.css
            -o ${base}-closed.png ${svg}
    COMMAND ${RSVG_CONVERT} -s ${DIDA_ART_SRC}/body-only.css -o ${base}-body.png ${svg}
    DEPENDS ${svg} ${DIDA_ART_SRC}/eyes-half.css ${DIDA_ART_SRC}/eyes-closed.css
            ${DIDA_ART_SRC}/body-only.css
    COMMENT "Rendering ${character}"
    VERBATIM)
  list(APPEND sheet_inputs ${base}-open.png ${base}-half.png ${base}-closed.png ${base}-body.png)
endforeach()

# The six frames with their blink bands side by side, and the body mask.
add_custom_command(OUTPUT ${DIDA_ART_RENDER}/char.png ${DIDA_ART_RENDER}/char-mask.png
  COMMAND dida-art sheet ${DIDA_ART_RENDER}/char.png ${DIDA_ART_RENDER}/char-mask.png
          ${sheet_inputs}
  DEPENDS dida-art ${sheet_inputs}
  COMMENT "Composing the character sheet"
  VERBATIM)

add_custom_command(OUTPUT ${DIDA_ART_RENDER}/panel.png ${DIDA_ART_RENDER}/panel-mask.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIDA_ART_RENDER}
  COMMAND ${RSVG_CONVERT} -b "#000000" -o ${DIDA_ART_RENDER}/panel.png ${DIDA_ART_SRC}/panel.svg
  COMMAND dida-art panel ${DIDA_ART_RENDER}/panel.png ${DIDA_ART_RENDER}/panel-mask.png
  DEPENDS dida-art ${DIDA_ART_SRC}/panel.svg
  COMMENT "Rendering the panel"
  VERBATIM)

add_custom_command(OUTPUT ${DIDA_ART_RENDER}/buttons.png
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIDA_ART_RENDER}
  COMMAND ${RSVG_CONVERT} -b ${DIDA_ART_MATTE} -o ${DIDA_ART_RENDER}/buttons.png
          ${DIDA_ART_SRC}/buttons.svg
  COMMAND dida-art buttons ${DIDA_ART_RENDER}/buttons.png
  DEPENDS dida-art ${DIDA_ART_SRC}/buttons.svg
  COMMENT "Rendering the page buttons"
  VERBATIM)

# ---- entries that need no picture tool ----------------------------------------
add_custom_command(OUTPUT ${DIDA_ART_OUT}/mask1.bmp ${DIDA_ART_OUT}/mask2.bmp
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIDA_ART_RENDER}
  COMMAND dida-art outline character ${DIDA_ART_OUT}/mask1.bmp
  COMMAND dida-art outline panel ${DIDA_ART_OUT}/mask2.bmp
  DEPENDS dida-art
  COMMENT "Writing the window outlines"
  VERBATIM)

# A 30 ms falling tone with a quick soft decay; -R and -D keep it the same
# bytes on every build (no random dither).
add_custom_command(OUTPUT ${DIDA_ART_OUT}/click.wav
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIDA_ART_RENDER}
  COMMAND ${SOX} -R -D -n -r 22050 -b 16 -c 1 ${DIDA_ART_OUT}/click.wav
          synth 0.03 sine 2000:700 fade h 0.0005 0.03 0.027 lowpass 3500 vol 0.35
  COMMENT "Making the click sound"
  VERBATIM)

# Icon 128: the cat's head at 48, 32 and 16 pixels.
add_custom_command(OUTPUT ${DIDA_ART_OUT}/dida.ico
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DIDA_ART_RENDER}
  COMMAND ${RSVG_CONVERT} -z 4 -s ${DIDA_ART_SRC}/body-only.css
          -o ${DIDA_ART_RENDER}/icon-large.png ${DIDA_ART_SRC}/char0-cat.svg
  COMMAND ${IMAGEMAGICK_CONVERT} ${DIDA_ART_RENDER}/icon-large.png
          -crop 256x256+76+4 +repage -define icon:auto-resize=48,32,16 ${DIDA_ART_OUT}/dida.ico
  DEPENDS ${DIDA_ART_SRC}/char0-cat.svg ${DIDA_ART_SRC}/body-only.css
  COMMENT "Making the icon"
  VERBATIM)

add_custom_target(dida_art_sources ALL DEPENDS
  ${DIDA_ART_RENDER}/char.png ${DIDA_ART_RENDER}/panel.png ${DIDA_ART_RENDER}/buttons.png
  ${DIDA_ART_OUT}/mask1.bmp ${DIDA_ART_OUT}/mask2.bmp ${DIDA_ART_OUT}/click.wav
  ${DIDA_ART_OUT}/dida.ico)

# ---- pictures, archive and preview: need the picture and archive tools --------
# The tools' folders are added after this one, so the rules are made once the
# whole tree has been read.
function(dida_add_archive_rules out render)
  if(NOT TARGET dida-picture OR NOT TARGET dida-archive)
    message(STATUS "dida art: dida-picture or dida-archive missing; no archive is built")
    return()
  endif()
  set(picture $<TARGET_FILE:dida-picture>)
  add_custom_command(OUTPUT ${out}/char.tw
    COMMAND ${picture} encode ${render}/char.png ${out}/char.tw --encoding colour --vdelta
            --escape 0xB6 --mask-image ${render}/char-mask.png --mask-type rle8 --mask-binary
    DEPENDS dida-picture ${render}/char.png ${render}/char-mask.png
    COMMENT "Encoding char.tw"
    VERBATIM)
  add_custom_command(OUTPUT ${out}/buttons.tw
    COMMAND ${picture} encode ${render}/buttons.png ${out}/buttons.tw --encoding colour
            --vdelta --escape 0x25
    DEPENDS dida-picture ${render}/buttons.png
    COMMENT "Encoding buttons.tw"
    VERBATIM)
  add_custom_command(OUTPUT ${out}/panel.tw
    COMMAND ${picture} encode ${render}/panel.png ${out}/panel.tw --encoding palette
            --palette 000000 --hdelta --vdelta --escape 0x08
            --mask-image ${render}/panel-mask.png --mask-type rle8 --mask-binary
    DEPENDS dida-picture ${render}/panel.png ${render}/panel-mask.png
    COMMENT "Encoding panel.tw"
    VERBATIM)

  set(entries ${out}/buttons.tw ${out}/char.tw ${out}/click.wav ${out}/mask1.bmp
              ${out}/mask2.bmp ${out}/panel.tw)
  add_custom_command(OUTPUT ${out}/archive.idx ${out}/archive.dat
    COMMAND $<TARGET_FILE:dida-archive> pack ${out}/archive ${entries}
    COMMAND $<TARGET_FILE:dida-archive> verify ${out}/archive
    DEPENDS dida-archive ${entries}
    COMMENT "Packing the archive"
    VERBATIM)

  # The preview shows the pictures as the program decodes them: each sheet
  # with its mask plane, and the six pages as the window shows them (frame
  # over the normal buttons, the panel beside the first).
  set(decoded)
  foreach(name char buttons panel)
    set(mask_out)
    if(NOT name STREQUAL "buttons")
      set(mask_out --mask-out ${render}/${name}-decoded-mask.png)
    endif()
    add_custom_command(OUTPUT ${render}/${name}-decoded.png
      COMMAND ${picture} decode ${out}/${name}.tw ${render}/${name}-decoded.png ${mask_out}
      DEPENDS dida-picture ${out}/${name}.tw
      COMMENT "Decoding ${name}.tw"
      VERBATIM)
    list(APPEND decoded ${render}/${name}-decoded.png)
  endforeach()
  set(pages)
  foreach(page RANGE 5)
    math(EXPR left "102 * ${page}")
    list(APPEND pages "(" ${render}/char-decoded.png -crop 102x113+${left}+0 +repage
                      "(" ${render}/buttons-decoded.png -crop 102x19+0+0 +repage ")"
                      -append ")")
  endforeach()
  # Each sheet under a caption (when a font is at hand), stacked top-down.
  find_file(DIDA_PREVIEW_FONT DejaVuSans.ttf PATHS /usr/share/fonts/truetype/dejavu)
  set(sheet -background "#ddd8e4" -gravity NorthWest)
  if(DIDA_PREVIEW_FONT)
    list(APPEND sheet -font ${DIDA_PREVIEW_FONT} -pointsize 11)
  endif()
  foreach(part "preview-window:the six pages, compact, and the panel"
               "char-decoded:char.tw" "char-decoded-mask:char.tw mask plane"
               "buttons-decoded:buttons.tw" "panel-decoded:panel.tw"
               "panel-decoded-mask:panel.tw mask plane")
    string(REPLACE ":" ";" part "${part}")
    list(GET part 0 file)
    list(GET part 1 title)
    set(caption)
    if(DIDA_PREVIEW_FONT)
      set(caption "label:${title}")
    endif()
    list(APPEND sheet "(" ${caption} ${render}/${file}.png -append
                      -bordercolor "#ddd8e4" -border 6 ")")
  endforeach()
  add_custom_command(OUTPUT ${out}/preview.png
    COMMAND ${IMAGEMAGICK_CONVERT} ${pages} ${render}/panel-decoded.png
            -background "#ddd8e4" -splice 8x0 +append ${render}/preview-window.png
    COMMAND ${IMAGEMAGICK_CONVERT} ${sheet} -append -scale 200% ${out}/preview.png
    DEPENDS ${decoded}
    COMMENT "Making the preview sheet"
    VERBATIM)

  add_custom_target(dida_art ALL DEPENDS ${out}/archive.idx ${out}/archive.dat ${out}/preview.png)
  add_dependencies(dida_art dida_art_sources)
  # The art tests read these files: build them first.
  if(TARGET resources_art_test)
    add_dependencies(resources_art_test dida_art)
  endif()
endfunction()
cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]]
  CALL dida_add_archive_rules [[${DIDA_ART_OUT}]] [[${DIDA_ART_RENDER}]])")
