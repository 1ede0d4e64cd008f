# Installs ZkKit into a fresh prefix, then configures, builds and runs a
# small program that finds it with find_package(ZkKit).
# Needs BUILD_DIR, WORK_DIR, SOURCE_DIR, LIBDIR, INCLUDEDIR, GENERATOR; FLAGS,
# the sanitizer flags the library was built with, if any.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}")
    endif()
endfunction()

string(REPLACE ";" " " FLAGS "${FLAGS}")
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component ZkKit)

foreach(installed
        ${LIBDIR}/libZkKit.so ${LIBDIR}/libZkKit.so.3
        ${INCLUDEDIR}/ZkKit/zkkit_export.h ${INCLUDEDIR}/ZkKit/ZkSkin.h
        ${LIBDIR}/cmake/ZkKit/ZkKitConfig.cmake ${LIBDIR}/cmake/ZkKit/ZkKitConfigVersion.cmake)
    if(NOT EXISTS ${prefix}/${installed})
        message(FATAL_ERROR "not installed: ${installed}")
    endif()
endforeach()

run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
    "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
file(STRINGS ${WORK_DIR}/build/CMakeCache.txt found REGEX "^ZkKit_DIR:")
if(NOT found STREQUAL "ZkKit_DIR:PATH=${prefix}/${LIBDIR}/cmake/ZkKit")
    message(FATAL_ERROR "ZkKit found elsewhere: ${found}")
endif()
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer)
