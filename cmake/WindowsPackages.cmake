# Run as a script after the Windows build (the windows-packages target):
#   cmake -DBUILD=DIR -DSOURCE=DIR -DVERSION=X.Y.Z -DMAKENSIS=PATH -P WindowsPackages.cmake
# Stages the install tree, then makes from it the installer
# handlehound-VERSION-setup.exe and the portable handlehound-VERSION-windows.zip
# in BUILD/packages.
set(stage ${BUILD}/packages/windows-stage)
set(out ${BUILD}/packages)
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${stage}/Handlehound --strip
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

# The uninstaller removes exactly the files the installer wrote, deepest
# folders first, so a folder the player chose keeps everything else.
file(GLOB_RECURSE files RELATIVE ${stage}/Handlehound ${stage}/Handlehound/*)
file(GLOB_RECURSE dirs LIST_DIRECTORIES true RELATIVE ${stage}/Handlehound ${stage}/Handlehound/*)
list(REMOVE_ITEM dirs ${files})
list(SORT dirs ORDER DESCENDING)
set(list "")
foreach(file IN LISTS files)
  string(REPLACE "/" "\\" file "${file}")
  string(APPEND list "Delete \"$INSTDIR\\${file}\"\n")
endforeach()
foreach(dir IN LISTS dirs)
  string(REPLACE "/" "\\" dir "${dir}")
  string(APPEND list "RMDir \"$INSTDIR\\${dir}\"\n")
endforeach()
file(WRITE ${stage}/uninstall-list.nsh "${list}")

execute_process(COMMAND ${MAKENSIS} -V2 -DVERSION=${VERSION} -DSTAGE=${stage}/Handlehound
                        -DOUTFILE=${out}/handlehound-${VERSION}-setup.exe
                        -DUNINSTALL_LIST=${stage}/uninstall-list.nsh
                        ${SOURCE}/data/package/handlehound.nsi COMMAND_ERROR_IS_FATAL ANY)
# Portable: a settings file beside the executable keeps everything in that
# folder, nothing in %APPDATA%.
file(TOUCH ${stage}/Handlehound/bin/handleHound.ini)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${out}/handlehound-${VERSION}-windows.zip
                        --format=zip Handlehound
                WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "made ${out}/handlehound-${VERSION}-setup.exe and handlehound-${VERSION}-windows.zip")
