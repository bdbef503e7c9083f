# Host build: renders the SVG art sources and turns them into the archives the
# program embeds. Outputs in ${CMAKE_BINARY_DIR}/art:
#   char.tw buttons.tw panel.tw mask1.bmp mask2.bmp click.wav  the entries at 100 %
#   archive.idx archive.dat                                    the first archive
#   NAME@P.tw NAME@P.bmp back@P.tw back.tw                     the entries at the other scales
#   extra.idx extra.dat                                        the second archive
#   dida.ico                                                   icon 128
#   preview.png                                                every picture as decoded
#   preview-scales.png                                         the cat's page at 100 to 300 %
# Intermediate renders are kept in art/render (and art/render/P for scale P)
# for inspection. Every step makes the folders it writes to, so deleting art/
# and building again redoes it all.

find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(IMAGEMAGICK_CONVERT convert REQUIRED)
find_program(SOX sox REQUIRED)

set(DIDA_ART_OUT ${CMAKE_BINARY_DIR}/art)
set(DIDA_ART_RENDER ${DIDA_ART_OUT}/render)
set(DIDA_ART_SRC ${CMAKE_CURRENT_SOURCE_DIR}/art)

# Behind the rounded corners of the outline: never shown.
set(DIDA_ART_MATTE "#3f3545")
set(DIDA_CHARACTERS char0-cat char1-bear char2-rabbit char3-frog char4-penguin char5-fox)

# ---- the scales and their lengths, from the launcher's own metrics -------------
# ArtLengths.cpp sets DIDA_ART_SCALES, DIDA_ART_LENGTHS_<P> and
# DIDA_PREVIEW_SCALES; it is built and run here, with the geometry sources.
set(lengths_sources ${CMAKE_CURRENT_SOURCE_DIR}/ArtLengths.cpp
    ${CMAKE_SOURCE_DIR}/launcher/LauncherGeometry.cpp ${CMAKE_SOURCE_DIR}/common/DisplayScale.cpp)
try_run(lengths_ran lengths_built ${CMAKE_BINARY_DIR}/art-lengths
  SOURCES ${lengths_sources}
  CMAKE_FLAGS "-DINCLUDE_DIRECTORIES=${CMAKE_SOURCE_DIR}"
  CXX_STANDARD 17
  COMPILE_OUTPUT_VARIABLE lengths_log
  RUN_OUTPUT_VARIABLE lengths_code)
if(NOT lengths_built OR NOT lengths_ran EQUAL 0)
  message(FATAL_ERROR "dida art: cannot build or run ArtLengths.cpp:\n${lengths_log}")
endif()
cmake_language(EVAL CODE "${lengths_code}")
# The archive rules run at the end of the top folder: keep the lengths for them.
foreach(name DIDA_ART_SCALES DIDA_PREVIEW_SCALES)
  set(${name} ${${name}} CACHE INTERNAL "")
endforeach()
foreach(percent ${DIDA_ART_SCALES})
  set(DIDA_ART_LENGTHS_${percent} ${DIDA_ART_LENGTHS_${percent}} CACHE INTERNAL "")
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${lengths_sources}
  ${CMAKE_SOURCE_DIR}/launcher/LauncherGeometry.h ${CMAKE_SOURCE_DIR}/common/DisplayScale.h
  ${CMAKE_SOURCE_DIR}/app/core/PageKeys.h)

# The file name suffix and the render folder of a scale: none and render/ at
# 100 %, "@P" and render/P at the others.
function(dida_art_names percent render suffix_var render_var)
  if(percent EQUAL 100)
    set(${suffix_var} "" PARENT_SCOPE)
    set(${render_var} ${render} PARENT_SCOPE)
  else()
    set(${suffix_var} "@${percent}" PARENT_SCOPE)
    set(${render_var} ${render}/${percent} PARENT_SCOPE)
  endif()
endfunction()

# ---- renders, one set per scale ---------------------------------------------------
# Each SVG is rendered at exactly the size the launcher uses at that scale
# and never resampled afterwards. Appends what it makes to DIDA_ART_MADE.
function(dida_art_renders percent)
  dida_art_names(${percent} ${DIDA_ART_RENDER} suffix render)
  list(GET DIDA_ART_LENGTHS_${percent} 0 width)
  list(GET DIDA_ART_LENGTHS_${percent} 1 frame)
  list(GET DIDA_ART_LENGTHS_${percent} 2 button)
  list(GET DIDA_ART_LENGTHS_${percent} 3 panel)
  list(GET DIDA_ART_LENGTHS_${percent} 4 height)
  math(EXPR buttons "3 * ${button}")
  set(scale --scale ${percent})
  set(frame_size -w ${width} -h ${frame})

  set(sheet_inputs)
  set(back_inputs)
  foreach(character ${DIDA_CHARACTERS})
    set(svg ${DIDA_ART_SRC}/${character}.svg)
    set(base ${render}/${character})
    add_custom_command(OUTPUT ${base}-open.png ${base}-half.png ${base}-closed.png ${base}-body.png
                              ${base}-back.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${render}
      COMMAND ${RSVG_CONVERT} ${frame_size} -b ${DIDA_ART_MATTE} -o ${base}-open.png ${svg}
      COMMAND ${RSVG_CONVERT} ${frame_size} -b ${DIDA_ART_MATTE} -s ${DIDA_ART_SRC}/eyes-half.css
              -o ${base}-half.png ${svg}
      COMMAND ${RSVG_CONVERT} ${frame_size} -b ${DIDA_ART_MATTE} -s ${DIDA_ART_SRC}/eyes-closed.css
              -o ${base}-closed.png ${svg}
      COMMAND ${RSVG_CONVERT} ${frame_size} -s ${DIDA_ART_SRC}/body-only.css -o ${base}-body.png
              ${svg}
      COMMAND ${RSVG_CONVERT} ${frame_size} -b ${DIDA_ART_MATTE}
              -s ${DIDA_ART_SRC}/background-only.css -o ${base}-back.png ${svg}
      DEPENDS ${svg} ${DIDA_ART_SRC}/eyes-half.css ${DIDA_ART_SRC}/eyes-closed.css
              ${DIDA_ART_SRC}/body-only.css ${DIDA_ART_SRC}/background-only.css
      COMMENT "Rendering ${character} at ${percent} %"
      VERBATIM)
    list(APPEND sheet_inputs ${base}-open.png ${base}-half.png ${base}-closed.png ${base}-body.png)
    list(APPEND back_inputs ${base}-back.png)
  endforeach()

  # The six frames with their blink bands side by side, and the body mask;
  # the six backgrounds alone.
  add_custom_command(OUTPUT ${render}/char.png ${render}/char-mask.png
    COMMAND dida-art sheet ${render}/char.png ${render}/char-mask.png ${sheet_inputs} ${scale}
    DEPENDS dida-art ${sheet_inputs}
    COMMENT "Composing the character sheet at ${percent} %"
    VERBATIM)
  add_custom_command(OUTPUT ${render}/back.png
    COMMAND dida-art backs ${render}/back.png ${back_inputs} ${scale}
    DEPENDS dida-art ${back_inputs}
    COMMENT "Composing the page backgrounds at ${percent} %"
    VERBATIM)

  # The wells' hit-test mask comes from the metrics, which round halves up;
  # rendered at the exact zoom and shifted by 1/100 px (above cairo's 1/256
  # step), the crisp rectangles round their edges the same way, so the
  # drawn wells lie exactly on the mask's. 100 % keeps its whole-pixel render.
  if(percent EQUAL 100)
    set(panel_size -w ${panel} -h ${height})
  else()
    math(EXPR whole "${percent} / 100")
    math(EXPR hundredths "${percent} % 100")
    if(hundredths LESS 10)
      set(hundredths 0${hundredths})
    endif()
    set(panel_size -z ${whole}.${hundredths} --page-width ${panel}px --page-height ${height}px
        --left 0.01px --top 0.01px)
  endif()
  add_custom_command(OUTPUT ${render}/panel.png ${render}/panel-mask.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${render}
    COMMAND ${RSVG_CONVERT} ${panel_size} -b "#000000" -o ${render}/panel.png
            ${DIDA_ART_SRC}/panel.svg
    COMMAND dida-art panel ${render}/panel.png ${render}/panel-mask.png ${scale}
    DEPENDS dida-art ${DIDA_ART_SRC}/panel.svg
    COMMENT "Rendering the panel at ${percent} %"
    VERBATIM)

  add_custom_command(OUTPUT ${render}/buttons.png
    COMMAND ${CMAKE_COMMAND} -E make_directory ${render}
    COMMAND ${RSVG_CONVERT} -w ${width} -h ${buttons} -b ${DIDA_ART_MATTE}
            -o ${render}/buttons.png ${DIDA_ART_SRC}/buttons.svg
    COMMAND dida-art buttons ${render}/buttons.png ${scale}
    DEPENDS dida-art ${DIDA_ART_SRC}/buttons.svg
    COMMENT "Rendering the page buttons at ${percent} %"
    VERBATIM)

  add_custom_command(OUTPUT ${DIDA_ART_OUT}/mask1${suffix}.bmp ${DIDA_ART_OUT}/mask2${suffix}.bmp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIDA_ART_RENDER}
    COMMAND dida-art outline character ${DIDA_ART_OUT}/mask1${suffix}.bmp ${scale}
    COMMAND dida-art outline panel ${DIDA_ART_OUT}/mask2${suffix}.bmp ${scale}
    DEPENDS dida-art
    COMMENT "Writing the window outlines at ${percent} %"
    VERBATIM)

  set(DIDA_ART_MADE ${DIDA_ART_MADE} ${render}/char.png ${render}/back.png ${render}/panel.png
      ${render}/buttons.png ${DIDA_ART_OUT}/mask1${suffix}.bmp ${DIDA_ART_OUT}/mask2${suffix}.bmp
      PARENT_SCOPE)
endfunction()

set(DIDA_ART_MADE)
foreach(percent ${DIDA_ART_SCALES})
  dida_art_renders(${percent})
endforeach()

# ---- entries that need no picture tool ----------------------------------------
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
  ${DIDA_ART_MADE} ${DIDA_ART_OUT}/click.wav ${DIDA_ART_OUT}/dida.ico)

# ---- pictures, archives and previews: need the picture and archive tools ---------
# The tools' folders are added after this one, so the rules are made once the
# whole tree has been read.

# The pictures of one scale: appends the entries it makes to DIDA_ART_ENTRIES.
function(dida_art_pictures out render_root percent)
  dida_art_names(${percent} ${render_root} suffix render)
  set(picture $<TARGET_FILE:dida-picture>)
  if(percent EQUAL 100)
    # As first delivered: the first archive's bytes do not change.
    set(char_options --encoding colour --vdelta --escape 0xB6 --mask-type rle8)
    set(buttons_options --encoding colour --vdelta --escape 0x25)
    set(panel_options --encoding palette --palette 000000 --hdelta --vdelta --escape 0x08
                      --mask-type rle8)
  else()
    # The smallest of every encoding the launcher reads (the run-length
    # palettes mostly): the second archive is most of the program's size.
    set(char_options --auto)
    set(buttons_options --auto)
    set(panel_options --auto)
  endif()
  add_custom_command(OUTPUT ${out}/char${suffix}.tw
    COMMAND ${picture} encode ${render}/char.png ${out}/char${suffix}.tw ${char_options}
            --mask-image ${render}/char-mask.png --mask-binary
    DEPENDS dida-picture ${render}/char.png ${render}/char-mask.png
    COMMENT "Encoding char${suffix}.tw"
    VERBATIM)
  add_custom_command(OUTPUT ${out}/buttons${suffix}.tw
    COMMAND ${picture} encode ${render}/buttons.png ${out}/buttons${suffix}.tw ${buttons_options}
    DEPENDS dida-picture ${render}/buttons.png
    COMMENT "Encoding buttons${suffix}.tw"
    VERBATIM)
  add_custom_command(OUTPUT ${out}/panel${suffix}.tw
    COMMAND ${picture} encode ${render}/panel.png ${out}/panel${suffix}.tw ${panel_options}
            --mask-image ${render}/panel-mask.png --mask-binary
    DEPENDS dida-picture ${render}/panel.png ${render}/panel-mask.png
    COMMENT "Encoding panel${suffix}.tw"
    VERBATIM)
  add_custom_command(OUTPUT ${out}/back${suffix}.tw
    COMMAND ${picture} encode ${render}/back.png ${out}/back${suffix}.tw --auto
    DEPENDS dida-picture ${render}/back.png
    COMMENT "Encoding back${suffix}.tw"
    VERBATIM)
  # At 100 % only the backgrounds are new; the rest is the first archive's.
  if(percent EQUAL 100)
    set(DIDA_ART_ENTRIES ${DIDA_ART_ENTRIES} ${out}/back.tw PARENT_SCOPE)
  else()
    set(DIDA_ART_ENTRIES ${DIDA_ART_ENTRIES} ${out}/back${suffix}.tw ${out}/buttons${suffix}.tw
        ${out}/char${suffix}.tw ${out}/mask1${suffix}.bmp ${out}/mask2${suffix}.bmp
        ${out}/panel${suffix}.tw PARENT_SCOPE)
  endif()
endfunction()

# The preview of every scale from 100 to 300 %: the cat's page as the program
# draws it there (frame over the normal buttons, the panel beside it), from
# the shipped pictures, each pixel repeated where the scale is a multiple of
# a shipped one. Side by side, labelled, nothing interpolated.
function(dida_art_scales_preview out render caption)
  set(picture $<TARGET_FILE:dida-picture>)
  set(pages)
  set(decoded)
  foreach(entry ${DIDA_PREVIEW_SCALES})
    string(REPLACE ":" ";" entry ${entry})
    list(GET entry 0 percent)
    list(GET entry 1 shipped)
    list(GET entry 2 factor)
    dida_art_names(${shipped} ${render} suffix unused)
    list(GET DIDA_ART_LENGTHS_${shipped} 0 width)
    list(GET DIDA_ART_LENGTHS_${shipped} 1 frame)
    list(GET DIDA_ART_LENGTHS_${shipped} 2 button)
    math(EXPR width "${width} * ${factor}")
    math(EXPR frame "${frame} * ${factor}")
    math(EXPR button "${button} * ${factor}")
    set(at ${render}/preview/${percent})
    add_custom_command(OUTPUT ${at}-char.png ${at}-buttons.png ${at}-panel.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${render}/preview
      COMMAND ${picture} decode ${out}/char${suffix}.tw ${at}-char.png --repeat ${factor}
      COMMAND ${picture} decode ${out}/buttons${suffix}.tw ${at}-buttons.png --repeat ${factor}
      COMMAND ${picture} decode ${out}/panel${suffix}.tw ${at}-panel.png --repeat ${factor}
      DEPENDS dida-picture ${out}/char${suffix}.tw ${out}/buttons${suffix}.tw
              ${out}/panel${suffix}.tw
      COMMENT "Decoding the pictures for ${percent} %"
      VERBATIM)
    list(APPEND decoded ${at}-char.png ${at}-buttons.png ${at}-panel.png)
    set(label)
    if(caption)
      set(label "label:${percent} %")
      if(factor GREATER 1)
        set(label "label:${percent} % (${shipped} % x ${factor})")
      endif()
    endif()
    list(APPEND pages "(" ${label}
                      "(" "(" ${at}-char.png -crop ${width}x${frame}+0+0 +repage
                              "(" ${at}-buttons.png -crop ${width}x${button}+0+0 +repage ")"
                              -append ")"
                          ${at}-panel.png +append ")"
                      -append -bordercolor "#ddd8e4" -border 6 ")")
  endforeach()
  add_custom_command(OUTPUT ${out}/preview-scales.png
    COMMAND ${IMAGEMAGICK_CONVERT} -background "#ddd8e4" -gravity NorthWest ${caption} ${pages}
            +append ${out}/preview-scales.png
    DEPENDS ${decoded}
    COMMENT "Making the preview sheet of the scales"
    VERBATIM)
endfunction()

# NAME.idx and NAME.dat from the entries, checked once packed.
function(dida_pack_archive name entries comment)
  add_custom_command(OUTPUT ${name}.idx ${name}.dat
    COMMAND $<TARGET_FILE:dida-archive> pack ${name} ${entries}
    COMMAND $<TARGET_FILE:dida-archive> verify ${name}
    DEPENDS dida-archive ${entries}
    COMMENT "${comment}"
    VERBATIM)
endfunction()

function(dida_add_archive_rules out render)
  if(NOT TARGET dida-picture OR NOT TARGET dida-archive)
    message(STATUS "dida art: dida-picture or dida-archive missing; no archive is built")
    return()
  endif()
  set(picture $<TARGET_FILE:dida-picture>)
  set(DIDA_ART_ENTRIES)
  foreach(percent ${DIDA_ART_SCALES})
    dida_art_pictures(${out} ${render} ${percent})
  endforeach()

  set(entries ${out}/buttons.tw ${out}/char.tw ${out}/click.wav ${out}/mask1.bmp
              ${out}/mask2.bmp ${out}/panel.tw)
  dida_pack_archive(${out}/archive "${entries}" "Packing the archive")
  # The pictures of the other scales and the page backgrounds: a second
  # archive, so that the first stays as it is.
  dida_pack_archive(${out}/extra "${DIDA_ART_ENTRIES}" "Packing the archive of the other scales")

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
  set(caption)
  if(DIDA_PREVIEW_FONT)
    set(caption -font ${DIDA_PREVIEW_FONT} -pointsize 11)
    list(APPEND sheet ${caption})
  endif()
  foreach(part "preview-window:the six pages, compact, and the panel"
               "char-decoded:char.tw" "char-decoded-mask:char.tw mask plane"
               "buttons-decoded:buttons.tw" "panel-decoded:panel.tw"
               "panel-decoded-mask:panel.tw mask plane")
    string(REPLACE ":" ";" part "${part}")
    list(GET part 0 file)
    list(GET part 1 title)
    set(label)
    if(DIDA_PREVIEW_FONT)
      set(label "label:${title}")
    endif()
    list(APPEND sheet "(" ${label} ${render}/${file}.png -append
                      -bordercolor "#ddd8e4" -border 6 ")")
  endforeach()
  add_custom_command(OUTPUT ${out}/preview.png
    COMMAND ${IMAGEMAGICK_CONVERT} ${pages} ${render}/panel-decoded.png
            -background "#ddd8e4" -splice 8x0 +append ${render}/preview-window.png
    COMMAND ${IMAGEMAGICK_CONVERT} ${sheet} -append -scale 200% ${out}/preview.png
    DEPENDS ${decoded}
    COMMENT "Making the preview sheet"
    VERBATIM)
  dida_art_scales_preview(${out} ${render} "${caption}")

  add_custom_target(dida_art ALL DEPENDS ${out}/archive.idx ${out}/archive.dat
    ${out}/extra.idx ${out}/extra.dat ${out}/preview.png ${out}/preview-scales.png)
  add_dependencies(dida_art dida_art_sources)
  # The art tests read these files: build them first.
  if(TARGET resources_art_test)
    add_dependencies(resources_art_test dida_art)
  endif()
endfunction()
cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]]
  CALL dida_add_archive_rules [[${DIDA_ART_OUT}]] [[${DIDA_ART_RENDER}]])")
