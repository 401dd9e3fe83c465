# The checks every change must pass besides the tests: the format of every source file, and
# clang-tidy's bug-prone, performance and static-analyzer checks on the libraries without Qt.
# `.ci/run` runs both targets through `./setup.sh test`.

set(TORTAVELA_SOURCE_FOLDERS bench carddav contacts exchange manager platform reminder sync system tests)
set(format_sources)
foreach(folder IN LISTS TORTAVELA_SOURCE_FOLDERS)
    # A check over whatever files stand there, so it is globbed: nothing is compiled from it.
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
        "${CMAKE_SOURCE_DIR}/${folder}/*.cpp" "${CMAKE_SOURCE_DIR}/${folder}/*.h")
    list(APPEND format_sources ${found})
endforeach()

find_program(CLANG_FORMAT_PROGRAM clang-format)
if(CLANG_FORMAT_PROGRAM)
    add_custom_target(format_check
        COMMAND "${CLANG_FORMAT_PROGRAM}" --dry-run --Werror ${format_sources}
        WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
        COMMENT "Checking the format of every source file (clang-format)"
        VERBATIM)
endif()

# The libraries without Qt: the POSIX helpers, the contact file, the exchange formats, the platform stand-ins and
# the reminder's core. clang-tidy reads the compile commands of this build.
find_program(RUN_CLANG_TIDY_PROGRAM NAMES run-clang-tidy run-clang-tidy-14)
if(RUN_CLANG_TIDY_PROGRAM)
    set(tidy_sources)
    foreach(folder system contacts exchange sync platform reminder/core)
        file(GLOB found CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
        list(APPEND tidy_sources ${found})
    endforeach()
    cmake_host_system_information(RESULT cores QUERY NUMBER_OF_LOGICAL_CORES)
    add_custom_target(tidy_check
        COMMAND "${RUN_CLANG_TIDY_PROGRAM}" -quiet -j ${cores} -p "${CMAKE_BINARY_DIR}"
                ${tidy_sources}
        WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
        COMMENT "Checking the libraries without Qt (clang-tidy)"
        VERBATIM)
endif()
