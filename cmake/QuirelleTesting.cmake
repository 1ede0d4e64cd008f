# quirelle_add_test(<name> SOURCES <files...> LIBRARIES <targets...>)
#
# One QtTest executable per component. Tests always run headless: the
# platform plugin is chosen here, never by the person running them.
function(quirelle_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test ${ARG_LIBRARIES})
    set_target_properties(${name} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
        # forms are generated once, in the library that owns them
        AUTOUIC OFF
        # absolute, so a test may run from a copy of itself elsewhere
        BUILD_RPATH_USE_ORIGIN OFF)
    add_test(NAME ${name} COMMAND ${name})
    set(environment QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 ${QUIRELLE_SANITIZE_ENVIRONMENT})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 300)
endfunction()
