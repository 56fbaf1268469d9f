# Fails when a file of src/ includes a header of a layer above its own, or
# when sound and view include each other. Run with -DSOURCE_DIR=... -DSTAMP=...
# The order is the README's: each layer may include its own and those before it.
set(layers common ports data state sim sound view input run platform shell)
# sound and view share a rank: both read sim, neither reads the other.
set(rank_common 0)
set(rank_ports 1)
set(rank_data 2)
set(rank_state 3)
set(rank_sim 4)
set(rank_sound 5)
set(rank_view 5)
set(rank_input 6)
set(rank_run 7)
set(rank_platform 8)
set(rank_shell 9)

file(GLOB_RECURSE files "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
set(faults "")
foreach(file IN LISTS files)
  file(RELATIVE_PATH relative "${SOURCE_DIR}/src" "${file}")
  string(REGEX MATCH "^[a-z]+" layer "${relative}")
  if(NOT DEFINED rank_${layer})
    string(APPEND faults "  ${relative}: src/${layer} is no layer; add it to cmake/check_layers.cmake and the README\n")
    continue()
  endif()
  get_filename_component(directory "${file}" DIRECTORY)
  # Quoted or angled, whatever the path: "../view/x.h" and <view/x.h> reach a
  # header as surely as "view/x.h" does.
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  foreach(line IN LISTS includes)
    string(REGEX MATCH "[\"<]([^\">]*)[\">]" written "${line}")
    set(path "${CMAKE_MATCH_1}")
    # A quoted name is looked for beside the file first, then from src/.
    if(path MATCHES "^\\.\\.?/" OR (written MATCHES "^\"" AND EXISTS "${directory}/${path}"))
      get_filename_component(header "${path}" ABSOLUTE BASE_DIR "${directory}")
    else()
      set(header "${SOURCE_DIR}/src/${path}")
    endif()
    if(NOT EXISTS "${header}")
      continue()  # a system or library header
    endif()
    file(RELATIVE_PATH reached "${SOURCE_DIR}/src" "${header}")
    string(REGEX MATCH "^[a-z]+" target "${reached}")
    if(NOT DEFINED rank_${target})
      continue()
    endif()
    if(rank_${target} GREATER rank_${layer}
       OR (NOT target STREQUAL layer AND rank_${target} EQUAL rank_${layer}))
      string(APPEND faults "  ${relative} (layer ${layer}) includes ${written} (layer ${target})\n")
    endif()
  endforeach()
endforeach()

if(faults)
  message(FATAL_ERROR "Upward includes between the core's layers "
    "(common, ports, data, state, sim, sound | view, input, run, platform, shell):\n${faults}")
endif()
file(TOUCH "${STAMP}")
