# Writes CHANGELOG.md in the format of a Debian changelog, which is what
# Debian's tools read from changelog.gz of a package built from its own
# source tree: one entry per "## [VERSION] - YYYY-MM-DD" heading, its
# "### Kind" headings as lines of their own, its "- " items as "* " items.
# Usage: cmake -DINPUT=CHANGELOG.md -DOUTPUT=changelog -DMAINTAINER="Name <mail>"
#              -P debian_changelog.cmake
file(STRINGS ${INPUT} lines ENCODING UTF-8)
set(out "")
set(trailer "")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(weekdays Sat Sun Mon Tue Wed Thu Fri)

# The RFC 5322 date of a day, its weekday by Zeller's congruence.
function(rfc_date year month day result)
  set(y ${year})
  set(m ${month})
  if(m LESS 3)
    math(EXPR m "${m} + 12")
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR h "(${day} + (13 * (${m} + 1)) / 5 + ${y} + ${y} / 4 - ${y} / 100 + ${y} / 400) % 7")
  list(GET weekdays ${h} weekday)
  math(EXPR index "${month} - 1")
  list(GET months ${index} name)
  if(day LESS 10)
    set(day 0${day})
  endif()
  set(${result} "${weekday}, ${day} ${name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

foreach(line IN LISTS lines)
  if(line MATCHES "^## \\[([^]]+)\\] - ([0-9]+)-0?([0-9]+)-0?([0-9]+)$")
    set(version ${CMAKE_MATCH_1})
    rfc_date(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} date)
    string(APPEND out "${trailer}sifteron (${version}) unstable; urgency=medium\n\n")
    set(trailer "\n -- ${MAINTAINER}  ${date}\n\n")
  elseif(trailer STREQUAL "")
    # The preamble before the first release.
  elseif(line MATCHES "^### (.+)$")
    string(APPEND out "  ${CMAKE_MATCH_1}:\n")
  elseif(line MATCHES "^- (.+)$")
    string(APPEND out "  * ${CMAKE_MATCH_1}\n")
  elseif(line MATCHES "^  +(.+)$")
    string(APPEND out "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
if(trailer STREQUAL "")
  message(FATAL_ERROR "${INPUT} names no release")
endif()
string(REGEX REPLACE "\n\n$" "\n" trailer "${trailer}")
file(WRITE ${OUTPUT} "${out}${trailer}")
