# Installs the library for other programs: the shared library with its
# version links, every public header (with the generated export header) in
# include/ZkKit, and a CMake package so that a consumer writes
#   find_package(ZkKit REQUIRED)
#   target_link_libraries(app PRIVATE ZkKit::ZkKit)
include(CMakePackageConfigHelpers)

set(ZKKIT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZkKit)

install(TARGETS ZkKit EXPORT ZkKitTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT ZkKit
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ZkKit)
install(DIRECTORY include/ ${CMAKE_CURRENT_BINARY_DIR}/include/
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ZkKit COMPONENT ZkKit
    FILES_MATCHING PATTERN "*.h")
install(EXPORT ZkKitTargets NAMESPACE ZkKit::
    DESTINATION ${ZKKIT_CMAKE_DIR} COMPONENT ZkKit)

configure_package_config_file(cmake/ZkKitConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/ZkKitConfig.cmake
    INSTALL_DESTINATION ${ZKKIT_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ZkKitConfigVersion.cmake
    VERSION ${PROJECT_VERSION}
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/ZkKitConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/ZkKitConfigVersion.cmake
    DESTINATION ${ZKKIT_CMAKE_DIR} COMPONENT ZkKit)
