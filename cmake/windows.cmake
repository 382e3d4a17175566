# The Windows half of the build (included by CMakeLists.txt when cross
# compiling): Tavix.exe, the end-to-end driver, and dist/ with Tavix.exe and
# the files it reads beside it.

enable_language(RC)

# Where the build assembles Tavix.exe with its book, sound and help. The
# shipped build passes -DTAVIX_DIST_DIR=<source>/dist; other builds keep their
# own copy so that builds running side by side do not overwrite each other.
set(TAVIX_DIST_DIR "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Folder that receives Tavix.exe and its data files")
# The scripts read the folder from here (scripts/build_paths.sh) instead of
# guessing it.
file(WRITE "${CMAKE_BINARY_DIR}/dist-folder.txt" "${TAVIX_DIST_DIR}\n")

set(TAVIX_WINDOWS_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(TAVIX_WINDOWS_LIBRARIES comctl32 comdlg32 gdi32 winmm shell32 ole32 advapi32 user32 kernel32)

add_executable(Tavix WIN32 ${TAVIX_WINDOWS_SOURCES} res/tavix.rc)
target_compile_definitions(Tavix PRIVATE ${TAVIX_WINDOWS_DEFINITIONS})
target_include_directories(Tavix PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/res)
target_link_libraries(Tavix PRIVATE tavix_portable ${TAVIX_WINDOWS_LIBRARIES})
target_link_options(Tavix PRIVATE -static -municode)
set_source_files_properties(res/tavix.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/tavix.manifest;${CMAKE_SOURCE_DIR}/res/tavix.ico;${CMAKE_SOURCE_DIR}/res/toolbar.rc;${CMAKE_SOURCE_DIR}/res/toolbar.bmp;${CMAKE_SOURCE_DIR}/res/strings.rc;${CMAKE_SOURCE_DIR}/res/about.rc;${CMAKE_SOURCE_DIR}/res/book.rc;${CMAKE_SOURCE_DIR}/res/analysis.rc;${CMAKE_SOURCE_DIR}/res/hints.rc;${CMAKE_SOURCE_DIR}/res/review.rc;${CMAKE_SOURCE_DIR}/res/players.rc;${CMAKE_SOURCE_DIR}/res/settings.rc;${CMAKE_SOURCE_DIR}/res/record.rc;${CMAKE_SOURCE_DIR}/res/database.rc")

# tavix-cli for Windows: one file, no runtime DLLs to carry.
target_link_options(tavix-cli PRIVATE -static)

# End-to-end driver: a console program that runs beside Tavix.exe under Wine.
set(TAVIX_E2E_DRIVER_SOURCES
    tests/e2e/driver.cpp
    tests/e2e/driver_helpers.cpp
    tests/e2e/driver_games.cpp
    tests/e2e/scenarios.cpp
    tests/e2e/main_window_scenarios.cpp
    tests/e2e/settings_scenarios.cpp
    tests/e2e/game_scenarios.cpp
    tests/e2e/record_scenarios.cpp
    tests/e2e/book_scenarios.cpp
    tests/e2e/database_scenarios.cpp
    tests/e2e/analysis_scenarios.cpp
    tests/e2e/hint_scenarios.cpp
    tests/e2e/review_scenarios.cpp
    core/wide_text.cpp
    tests/e2e/dialog_scenarios.cpp
    tests/e2e/settings_dialog_scenarios.cpp
    tests/e2e/storm_scenarios.cpp
    tests/e2e/dpi_scenarios.cpp
)
add_executable(tavix-e2e-driver ${TAVIX_E2E_DRIVER_SOURCES})
target_compile_definitions(tavix-e2e-driver PRIVATE ${TAVIX_WINDOWS_DEFINITIONS})
target_include_directories(tavix-e2e-driver PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(tavix-e2e-driver PRIVATE tavix_portable ${TAVIX_WINDOWS_LIBRARIES})
target_link_options(tavix-e2e-driver PRIVATE -static -municode)

# dist/: Tavix.exe and everything under data/ (book, sound, help pages).
file(GLOB_RECURSE TAVIX_DATA_FILES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data ${CMAKE_SOURCE_DIR}/data/*)
set(TAVIX_DIST_FILES "${TAVIX_DIST_DIR}/Tavix.exe")
foreach(file IN LISTS TAVIX_DATA_FILES)
  # The help pages form the help folder, named like the executable with HLP
  # in place of its extension.
  string(REGEX REPLACE "^help/" "Tavix.HLP/" shipped "${file}")
  get_filename_component(folder "${TAVIX_DIST_DIR}/${shipped}" DIRECTORY)
  add_custom_command(OUTPUT "${TAVIX_DIST_DIR}/${shipped}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${CMAKE_SOURCE_DIR}/data/${file}" "${TAVIX_DIST_DIR}/${shipped}"
    DEPENDS "${CMAKE_SOURCE_DIR}/data/${file}"
    VERBATIM)
  list(APPEND TAVIX_DIST_FILES "${TAVIX_DIST_DIR}/${shipped}")
endforeach()
add_custom_command(OUTPUT "${TAVIX_DIST_DIR}/Tavix.exe"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${TAVIX_DIST_DIR}"
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Tavix> "${TAVIX_DIST_DIR}/Tavix.exe"
  DEPENDS Tavix
  VERBATIM)
add_custom_target(dist ALL DEPENDS ${TAVIX_DIST_FILES})
