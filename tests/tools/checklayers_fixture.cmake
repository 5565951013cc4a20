# Runs the layer checker on a small tree with known faults: it must fail and name each one.
execute_process(COMMAND ${CHECKER} ${FIXTURE} ${FIXTURE}/layers.txt
                RESULT_VARIABLE code OUTPUT_VARIABLE output)
message("${output}")
set(expected
    "low/bad.cpp:2: low may not include high \\(high/top.h\\)"
    "low/bad.cpp:4: low may not include a Qt header \\(QWidget\\)"
    "2 include\\(s\\) against the library graph")
if(NOT code EQUAL 1)
    message(FATAL_ERROR "the checker returned ${code}, not 1")
endif()
foreach(line IN LISTS expected)
    if(NOT output MATCHES "${line}")
        message(FATAL_ERROR "missing: ${line}")
    endif()
endforeach()
if(output MATCHES "high/good.cpp")
    message(FATAL_ERROR "an allowed include was reported")
endif()
