# GoogleTest built from Debian's sources (package googletest) with this build's compiler, for a cross
# build, which cannot link the host's libgtest. Provides GTest::gtest and GTest::gtest_main.
set(BRINDLEMOOR_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, for cross builds")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${BRINDLEMOOR_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# Its own warnings are not ours to make errors of (its headers are system headers to us already).
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)
