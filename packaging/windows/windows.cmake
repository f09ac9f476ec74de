# What the Windows build adds, cross-compiled with MinGW-w64 on Linux: the programs and tests run under Wine, through
# a wrapper that finds the Qt and MinGW runtime DLLs.
if(CMAKE_CROSSCOMPILING)
  set(SKELVOR_WINEPREFIX "${CMAKE_BINARY_DIR}/wine" CACHE PATH "The Wine prefix the build's tools and tests run in")
  set(SKELVOR_MINGW_RUNTIME "/usr/lib/gcc/x86_64-w64-mingw32/12-posix;/usr/x86_64-w64-mingw32/lib"
      CACHE STRING "The folders of the MinGW runtime DLLs (libstdc++, libgcc_s, libwinpthread)")
  # Wine shows the Linux file system as drive Z:.
  set(SKELVOR_WINEPATH "")
  foreach(folder IN ITEMS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" ${SKELVOR_MINGW_RUNTIME})
    string(REPLACE "/" "\\" folder "Z:${folder}")
    list(APPEND SKELVOR_WINEPATH "${folder}")
  endforeach()
  list(JOIN SKELVOR_WINEPATH ";" SKELVOR_WINEPATH)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()
