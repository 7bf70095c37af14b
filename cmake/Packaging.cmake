# Packages made from the install rules:
#   cpack -G DEB                    handlehound_VERSION_amd64.deb (Linux build)
#   cmake --build . -t windows-packages
#                                   handlehound-VERSION-setup.exe and
#                                   handlehound-VERSION-windows.zip (Windows build)
if(WIN32)
  find_program(HH_MAKENSIS makensis)
  if(HH_MAKENSIS)
    add_custom_target(windows-packages
      COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR} -DSOURCE=${PROJECT_SOURCE_DIR}
              -DVERSION=${PROJECT_VERSION} -DMAKENSIS=${HH_MAKENSIS}
              -P ${PROJECT_SOURCE_DIR}/cmake/WindowsPackages.cmake
      DEPENDS handlehound VERBATIM)
  endif()
  return()
endif()

# The Debian package's copyright and changelog, installed with every install
# (the package is made from nothing but the install rules). The changelog is
# CHANGELOG.md in Debian's format, one entry per release, compressed as
# Debian wants it: gzip -9, no name or time stamp inside.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/handlehound)
set(debian_dir ${PROJECT_BINARY_DIR}/debian)
set(HH_MAINTAINER "hhdev <hhdev@handlehound.example>")
file(READ ${HH_CHANGELOG} changes)
set(debian_changelog "")
foreach(release IN LISTS HH_RELEASES)
  string(REPLACE "|" ";" release "${release}")
  list(GET release 0 version)
  list(GET release 1 date)
  # This release's text: from below its heading to the next heading.
  string(FIND "${changes}" "## ${version} (" start)
  string(SUBSTRING "${changes}" ${start} -1 body)
  string(FIND "${body}" "\n" eol)
  string(SUBSTRING "${body}" ${eol} -1 body)
  string(FIND "${body}" "\n## " next)
  string(SUBSTRING "${body}" 0 ${next} body)
  string(STRIP "${body}" body)
  string(REPLACE "\n  " "\n    " body "${body}")
  string(REGEX REPLACE "(^|\n)- " "\\1  * " body "${body}")
  execute_process(COMMAND date -u -R -d "${date} 12:00" OUTPUT_VARIABLE stamp
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(APPEND debian_changelog "handlehound (${version}) unstable; urgency=medium\n\n"
         "${body}\n\n -- ${HH_MAINTAINER}  ${stamp}\n\n")
endforeach()
string(STRIP "${debian_changelog}" debian_changelog)
file(WRITE ${debian_dir}/changelog "${debian_changelog}\n")
execute_process(COMMAND gzip -9 -n -f ${debian_dir}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${debian_dir}/changelog.gz ${PROJECT_SOURCE_DIR}/data/package/copyright
        DESTINATION ${doc_dir})

set(CPACK_PACKAGE_NAME handlehound)
set(CPACK_PACKAGE_VENDOR "The Handlehound developers")
set(CPACK_PACKAGE_CONTACT "${HH_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL https://handlehound.example)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "alias finder and /hh command companion for Quake III-engine games")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": that section is for games themselves, installed in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description below the summary line; CPack indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Handlehound answers /hh commands typed into the console of Quake III Arena,
ioquake3 or OpenArena: it lists every name a player has used, found through
the player's PunkBuster GUID or the renames the console showed, in an alias
database it keeps of every player it sees. Other commands ping a host, show
the time, run a timer and change the settings. A tray icon waits for the game
and switches command monitoring on while it runs.")
include(CPack)
