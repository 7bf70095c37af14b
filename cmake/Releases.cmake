# The releases, read from CHANGELOG.md: each "## VERSION (YYYY-MM-DD)" heading
# is one, newest first. The newest must be this build's version, so the
# changelog, the metainfo and the packages cannot disagree with the programs.
#   HH_RELEASES       VERSION|DATE items, newest first
#   HH_RELEASE_DATE   the date of this version
#   HH_RELEASES_XML   <release> elements for the AppStream metainfo
set(HH_CHANGELOG ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${HH_CHANGELOG})
file(STRINGS ${HH_CHANGELOG} headings REGEX "^## ")
set(HH_RELEASES)
set(HH_RELEASES_XML "")
foreach(heading IN LISTS headings)
  if(NOT heading MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
    message(FATAL_ERROR "CHANGELOG.md: '${heading}' is not '## VERSION (YYYY-MM-DD)'")
  endif()
  list(APPEND HH_RELEASES "${CMAKE_MATCH_1}|${CMAKE_MATCH_2}")
  string(APPEND HH_RELEASES_XML
         "    <release version=\"${CMAKE_MATCH_1}\" date=\"${CMAKE_MATCH_2}\"/>\n")
endforeach()
list(GET HH_RELEASES 0 newest)
if(NOT newest MATCHES "^${PROJECT_VERSION}\\|(.*)$")
  message(FATAL_ERROR "CHANGELOG.md: the newest heading must be '## ${PROJECT_VERSION} (date)'")
endif()
set(HH_RELEASE_DATE ${CMAKE_MATCH_1})
