# Finds GoogleTest's sources (GoogleTestSources_DIR), which the Windows trees build with their
# own toolchain: a system's GoogleTest libraries are built for the host. Debian's googletest
# package puts them in /usr/src/googletest; -DGoogleTestSources_DIR=<folder> names others.
find_path(GoogleTestSources_DIR NAMES googletest/CMakeLists.txt
  PATH_SUFFIXES src/googletest src/gtest PATHS /usr/local /usr NO_CMAKE_FIND_ROOT_PATH)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(GoogleTestSources REQUIRED_VARS GoogleTestSources_DIR)
