# Release packages (cmake --build <tree> --target package, or scripts/package.sh):
#   MIDI-to-MORVEK-<version>-win32.zip / -win64.zip: KALTON.EXE, midi2morvek.exe,
#     the manuals, the demo song, README.md and LICENSE;
#   MIDI-to-MORVEK-<version>-linux-<processor>.tar.gz: midi2morvek and the same papers.
# Only what is installed here goes in: never a test program.

set(MORVEK_PACKAGE_NAME MIDI-to-MORVEK)

if(WIN32)
  install(TARGETS KALTON midi2morvek RUNTIME DESTINATION .)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(MORVEK_PACKAGE_SYSTEM win32)
  else()
    set(MORVEK_PACKAGE_SYSTEM win64)
  endif()
  set(CPACK_GENERATOR ZIP)
else()
  install(TARGETS midi2morvek RUNTIME DESTINATION .)
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" MORVEK_PACKAGE_SYSTEM)
  set(CPACK_GENERATOR TGZ)
endif()

# The manual pages with their pictures, beside the program (F1 looks there).
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/manual/ DESTINATION manual
        FILES_MATCHING PATTERN "*.html" PATTERN "*.png" PATTERN "*.css")
install(FILES ${PROJECT_SOURCE_DIR}/examples/demo.mid
              ${PROJECT_SOURCE_DIR}/README.md
              ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION .)
# The pictures, sound and text examples README.md links, where its links expect them.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION docs
        FILES_MATCHING PATTERN "*.png" PATTERN "*.wav" PATTERN "*.txt" PATTERN "manual" EXCLUDE)

set(CPACK_PACKAGE_NAME ${MORVEK_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "The MIDI to MORVEK Converter developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Standard MIDI File to BASIC PLAY program converter")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${MORVEK_PACKAGE_NAME}-${PROJECT_VERSION}-${MORVEK_PACKAGE_SYSTEM})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# One folder named after the package, so that unpacking makes no mess.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
