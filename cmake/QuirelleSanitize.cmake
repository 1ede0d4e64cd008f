# QUIRELLE_SANITIZE: everything (library, reader, tests) is built with
# AddressSanitizer and UndefinedBehaviorSanitizer. Undefined behaviour
# stops the program like a memory error does, so a test that meets it fails.
# QUIRELLE_FUZZ adds the coverage libFuzzer steers by (clang only).
set(QUIRELLE_SANITIZE_FLAGS
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
if(QUIRELLE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "QUIRELLE_FUZZ needs clang: configure with CXX=clang++")
    endif()
    list(APPEND QUIRELLE_SANITIZE_FLAGS -fsanitize=fuzzer-no-link)
endif()
add_compile_options(${QUIRELLE_SANITIZE_FLAGS})
add_link_options(-fsanitize=address,undefined)

# What the tests run with. Qt keeps some of its caches until the process
# ends without freeing them; lsan.supp names those, and only those.
string(JOIN ";" QUIRELLE_SANITIZE_ENVIRONMENT
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1"
    "UBSAN_OPTIONS=print_stacktrace=1"
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp:print_suppressions=0")
