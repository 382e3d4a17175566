# libFuzzer targets of the parsers of outside data, built by clang with the
# address and undefined-behaviour sanitizers in a build of their own
# (scripts/fuzz.sh). A target is tests/fuzz/<name>_fuzz.cpp with its seed
# corpus in tests/fuzz/corpus/<name>/; adding one is one line below.

set(TAVIX_FUZZ_TARGETS
    record_reader
    paste_text
    book_file
    wthor_reader
    ggf_reader
    settings_reader
)

set(TAVIX_FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -g -O1)
set(TAVIX_FUZZ_LIBRARY_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -g -O1)

add_library(tavix_portable_fuzz STATIC ${TAVIX_PORTABLE_SOURCES})
target_include_directories(tavix_portable_fuzz PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_options(tavix_portable_fuzz PRIVATE ${TAVIX_FUZZ_LIBRARY_FLAGS})

# The move rules are proven by perft, not by fuzzing: their comparisons,
# traced at every square of every legal-move count, would take most of each
# run without guiding the parsers anywhere. Their edges stay covered.
set_source_files_properties(core/board.cpp core/bitboard.cpp TARGET_DIRECTORY tavix_portable_fuzz
                            PROPERTIES COMPILE_OPTIONS -fno-sanitize-coverage=trace-cmp)

foreach(target IN LISTS TAVIX_FUZZ_TARGETS)
  add_executable(fuzz_${target} tests/fuzz/${target}_fuzz.cpp)
  target_compile_options(fuzz_${target} PRIVATE ${TAVIX_FUZZ_FLAGS})
  target_link_options(fuzz_${target} PRIVATE ${TAVIX_FUZZ_FLAGS})
  target_link_libraries(fuzz_${target} PRIVATE tavix_portable_fuzz)
endforeach()

# The script runs the targets listed here.
string(REPLACE ";" "\n" TAVIX_FUZZ_TARGET_LINES "${TAVIX_FUZZ_TARGETS}")
file(WRITE "${CMAKE_BINARY_DIR}/fuzz-targets.txt" "${TAVIX_FUZZ_TARGET_LINES}\n")
