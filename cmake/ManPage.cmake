# Writes the game's man page (section 6) from the README: the options are the
# README's table of command-line options, row by row, so the page and the
# README never disagree.
#   cmake -DREADME=README.md -DOUT=henhouse.6 -DVERSION=V -DDATE=YYYY-MM-DD -DDATADIR=DIR -P ManPage.cmake
file(STRINGS "${README}" lines ENCODING UTF-8)

# Text as roff shows it, without the README's pointers to its other parts
# ("(below)", "(see *Your farm*)"): backslashes and leading dots or quotes escaped, the
# README's `code` in bold, *emphasis* in italics, a dash kept a dash.
function(roff_text out text)
  # Pointers to other parts of the README mean nothing here.
  string(REGEX REPLACE " \\((below|see \\*[^*]+\\*)\\)" "" text "${text}")
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "`([^`]*)`" "\\\\fB\\1\\\\fR" text "${text}")
  string(REGEX REPLACE "\\*([^*]+)\\*" "\\\\fI\\1\\\\fR" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(options "")
set(in_section FALSE)
set(in_table FALSE)
foreach(line IN LISTS lines)
  if(line MATCHES "^## ")
    if(line STREQUAL "## Command-line options")
      set(in_section TRUE)
    else()
      set(in_section FALSE)
    endif()
    continue()
  endif()
  if(NOT in_section)
    continue()
  endif()
  if(line MATCHES "^\\| `([^`]+)` \\| (.*) \\|$")
    set(option "${CMAKE_MATCH_1}")
    set(meaning "${CMAKE_MATCH_2}")
    # The option's name in bold, its value in italics.
    string(REGEX REPLACE "^(--[a-z-]+)(.*)$" "\\1;\\2" parts "${option}")
    list(GET parts 0 name)
    list(GET parts 1 value)
    string(REPLACE "-" "\\-" name "${name}")
    string(STRIP "${value}" value)
    roff_text(meaning "${meaning}")
    if(NOT value STREQUAL "")
      string(APPEND options ".TP\n.BI \"${name} \" ${value}\n${meaning}\n")
    else()
      string(APPEND options ".TP\n.B ${name}\n${meaning}\n")
    endif()
    set(in_table TRUE)
  endif()
endforeach()
if(NOT in_table)
  message(FATAL_ERROR "${README} has no table of options under \"## Command-line options\"")
endif()

string(REPLACE "-" "\\-" datadir "${DATADIR}")
file(WRITE "${OUT}" ".TH HENHOUSE 6 \"${DATE}\" \"Henhouse ${VERSION}\" \"Games\"
.SH NAME
henhouse \\- a mouse\\-driven poultry farm game
.SH SYNOPSIS
.B henhouse
[\\fIOPTIONS\\fR]
.SH DESCRIPTION
Chicks hatch into the nursery, grow into hens, get hungry and thirsty and walk
to the feeders and drinking bowls, and lay eggs in the nest boxes. Collect the
eggs onto the sorting table, run the scanner to see which are bad, pack them
into cartons for coins, and spend the coins in the shop on feed, more chickens
and specialist visits. Earn 1000 coins to complete the farm's quest.
Everything is done with the left mouse button.
.SH OPTIONS
${options}.SH FILES
.TP
.I \$XDG_DATA_HOME/henhouse/farm.json
The farm, saved when the window closes and after every minute of play
(usually \\fI~/.local/share/henhouse/farm.json\\fR).
.TP
.I ${datadir}
The game's images, font and sounds (a \\fIsrc/\\fR folder in the working
directory is used instead when there is one).
.SH EXIT STATUS
0 when the game ends normally, 1 when its surroundings keep it from starting
(no display, no assets), 2 for a bad option or input file.
")
