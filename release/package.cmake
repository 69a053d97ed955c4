# The release package, made by `cmake --build --preset windows --target package`:
# Tervane_Lite-<version>-win32.zip holding the program, the user's read-me and
# the licence, and SHA256SUMS beside it, both in the build folder.
#
# Only the `product` install component goes in, so the stand-in monitor and
# the e2e driver that the same build makes stay out. CPack stages the files;
# its ZIP generator's archive records each file's owner and its access and
# change times, which no build can fix, so after packing the zip is written
# again from the staged files with one time stamp, the commit's
# (after_packing.cmake), and the same files always give the same bytes.

find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_package(Git QUIET)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(release_platform win64)
else()
    set(release_platform win32)
endif()

# The user's read-me and the licence, with Windows line ends.
set(release_files_dir ${PROJECT_BINARY_DIR}/release)
configure_file(${PROJECT_SOURCE_DIR}/release/README.txt.in ${release_files_dir}/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${release_files_dir}/LICENSE
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS Tervane_Lite RUNTIME DESTINATION . COMPONENT product)
install(FILES ${release_files_dir}/README.txt ${release_files_dir}/LICENSE
        DESTINATION . COMPONENT product)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tervane_Lite)
set(CPACK_PACKAGE_VENDOR Halvedon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Tervane_Lite-${PROJECT_VERSION}-${release_platform})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};product;/")
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/release/after_packing.cmake)
# What after_packing.cmake needs, handed on through CPack's configuration.
set(CPACK_TERVANE_PYTHON ${Python3_EXECUTABLE})
set(CPACK_TERVANE_GIT "${GIT_EXECUTABLE}")
set(CPACK_TERVANE_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_TERVANE_ZIP_WRITER ${PROJECT_SOURCE_DIR}/release/write_zip.py)
include(CPack)
