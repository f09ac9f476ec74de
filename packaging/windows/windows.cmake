# What the Windows build adds, cross-compiled with MinGW-w64 on Linux: the programs and tests run under Wine, through
# a wrapper that finds the Qt and MinGW runtime DLLs.
if(CMAKE_CROSSCOMPILING)
  set(SKELVOR_WINEPREFIX "${CMAKE_BINARY_DIR}/wine" CACHE PATH "The Wine prefix the build's tools and tests run in")
  set(SKELVOR_MINGW_RUNTIME "/usr/lib/gcc/x86_64-w64-mingw32/14-posix;/usr/x86_64-w64-mingw32/lib"
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

# The programs' icon, drawn at build time by the same tool as the window icon.
set(SKELVOR_ICON ${CMAKE_BINARY_DIR}/packaging/skelvor.ico)
add_custom_command(
  OUTPUT ${SKELVOR_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND drawpictures --icon ${SKELVOR_ICON}
  DEPENDS drawpictures
  COMMENT "Drawing the programs' icon"
  VERBATIM)
add_custom_target(skelvor_icon DEPENDS ${SKELVOR_ICON})

# Gives a Windows program its resources: the icon, a version resource saying what the program is, and with MANIFEST
# the application manifest. Usage: skelvor_windows_resources(TARGET "File description" [MANIFEST])
function(skelvor_windows_resources target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "MANIFEST" "" "")
  get_target_property(SKELVOR_RC_NAME ${target} OUTPUT_NAME)
  if(NOT SKELVOR_RC_NAME)
    set(SKELVOR_RC_NAME ${target})
  endif()
  set(SKELVOR_RC_DESCRIPTION "${description}")
  set(SKELVOR_RC_ICON ${SKELVOR_ICON})
  # The version as four numbers, as Windows keeps it: 0.1.0 is 0,1,0,0.
  set(SKELVOR_RC_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(SKELVOR_RC_MANIFEST "")
  set(depends ${SKELVOR_ICON})
  if(arg_MANIFEST)
    # Resource type 24 is RT_MANIFEST; id 1 is the manifest Windows reads when it starts a program. Debian's MinGW
    # links no default manifest of its own (no default-manifest.o), so this one is the program's only one.
    set(SKELVOR_RC_MANIFEST "1 24 \"${CMAKE_CURRENT_FUNCTION_LIST_DIR}/skelvor.manifest\"")
    list(APPEND depends ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/skelvor.manifest)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/skelvor.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${depends}")
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} skelvor_icon)
endfunction()
