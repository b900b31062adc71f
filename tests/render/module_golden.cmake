# Renders golden frames with the test host over a built module (or a linked
# host) and compares the printed hashes with tests/render/golden/frames.txt.
#   -DPROGRAM=host -DMODULE=path|"" -DPLUGIN=theatre -DMODE=Phong -DDEPTH=8
#   -DLIST=frames.txt [-DEMULATOR=a|b]
string(REPLACE "|" ";" emulator "${EMULATOR}")
set(module_arg "")
if(MODULE)
  set(module_arg ${MODULE})
endif()
execute_process(COMMAND ${emulator} ${PROGRAM} --size 160x90 --frames 0-8 --depth ${DEPTH}
                        --set "Rendering mode=${MODE}" --hash --quiet ${module_arg}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the host exited with ${rc}:\n${out}${err}")
endif()
file(STRINGS ${LIST} lines REGEX "^${PLUGIN} ${MODE} ${DEPTH} ")
if(NOT lines)
  message(FATAL_ERROR "no golden frames for ${PLUGIN} ${MODE} ${DEPTH}")
endif()
set(failures "")
foreach(line IN LISTS lines)
  string(REPLACE " " ";" fields "${line}")
  list(GET fields 3 frame)
  list(GET fields 4 hash)
  if(NOT out MATCHES "frame ${frame} hash ${hash}")
    string(REGEX MATCH "frame ${frame} hash [0-9a-f]+" got "${out}")
    string(APPEND failures "  frame ${frame}: golden ${hash}, got '${got}'\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${PLUGIN} ${MODE} ${DEPTH} bits differs from the golden frames:\n${failures}")
endif()
