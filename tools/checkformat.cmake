# Fails when a source file differs from the checked-in .clang-format; run by CTest as
# cmake -DSOURCE_DIR=... -P checkformat.cmake. Without clang-format the check is skipped.
find_program(CLANG_FORMAT NAMES clang-format)
if(NOT CLANG_FORMAT)
    message("clang-format not found: the formatting check is skipped (install clang-format)")
    return()
endif()
set(folders platform pattern astro settings db select report link app ui cli tools tests bench
    fuzz)
set(files)
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND files ${found})
endforeach()
list(SORT files)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror --style=file ${files}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE code ERROR_VARIABLE output)
if(NOT code EQUAL 0)
    message("${output}")
    message(FATAL_ERROR "these files differ from .clang-format: run clang-format -i on them")
endif()
list(LENGTH files count)
message("${count} files follow .clang-format")
