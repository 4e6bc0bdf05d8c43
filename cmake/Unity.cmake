# henhouse_unity(TARGET RUNS [BATCH SOURCE...]...): TARGET's C++ sources
# compiled as a few combined files (a unity build). Each BATCH names the
# sources of one combined file of its own (absolute, or relative to the
# calling folder): sources that share heavy templates (the JSON
# library's), or whose headers define macros the others must not see (the
# X11 headers' None, Status, Bool, ...). The other sources make RUNS combined
# files, each a run of neighbouring sources in the listed order.
function(henhouse_unity target runs)
  # The named batches: each source gets its batch's group at once.
  set(named "")
  set(batch -1)
  foreach(arg IN LISTS ARGN)
    if(arg STREQUAL "BATCH")
      math(EXPR batch "${batch} + 1")
    elseif(batch LESS 0)
      message(FATAL_ERROR "henhouse_unity(${target}): ${arg} is in no BATCH")
    else()
      get_filename_component(path "${arg}" ABSOLUTE)
      list(APPEND named "${path}")
      set_source_files_properties(${path} TARGET_DIRECTORY ${target} PROPERTIES UNITY_GROUP named${batch})
    endif()
  endforeach()
  # The rest, in runs of neighbours.
  get_target_property(sources ${target} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  set(rest "")
  foreach(source IN LISTS sources)
    get_filename_component(path "${source}" ABSOLUTE)
    if(NOT path IN_LIST named)
      list(APPEND rest ${source})
    endif()
  endforeach()
  list(LENGTH rest count)
  if(count GREATER 0)
    math(EXPR per "(${count} + ${runs} - 1) / ${runs}")
    set(index 0)
    foreach(source IN LISTS rest)
      math(EXPR run "${index} / ${per}")
      set_source_files_properties(${source} TARGET_DIRECTORY ${target} PROPERTIES UNITY_GROUP run${run})
      math(EXPR index "${index} + 1")
    endforeach()
  endif()
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_MODE GROUP)
endfunction()
