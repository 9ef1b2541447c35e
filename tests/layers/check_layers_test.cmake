# Runs cmake/check_layers.cmake over a small tree of its own. Each case below
# is a file holding one include on its third line; the check must name exactly
# the refused ones, with file, line, include and reason, and fail; over the
# accepted ones alone it must pass without a word.
#   cmake -DCHECKER=<check_layers.cmake> -DWORK_DIR=<scratch folder> -P check_layers_test.cmake
cmake_minimum_required(VERSION 3.25)

# file | the include | why it is refused (empty: accepted)
set(cases
    "der/down.cpp|common/logger.h|"
    "der/own.cpp|der/hex.h|"
    "der/up.cpp|token/token.h|runs against the layers: der may include der, common, platform"
    "common/up.h|json/json.h|runs against the layers: common may include common, platform"
    "nmp/sideways.cpp|json/json.h|runs against the layers: nmp may include nmp, common, platform"
    "handler/far_down.cpp|platform/platform.h|"
    "response/record.h|token/token_info.h|"
    "response/binding.h|token/token.h|runs against the layers: response may include response, json, common, platform, token/token_info.h, token/orphan_key.h, token/certificate_info.h"
    "top.cpp|handler/handlers.h|"
    "token/beside.cpp|beside.h|"
    "token/missing.cpp|missing.h|names no header of a source folder"
    "nmp/climbing.cpp|../der/hex.h|climbs out of the folders")

# Sets file, header and reason from one case.
macro(read_case case)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 file)
    list(GET fields 1 header)
    list(GET fields 2 reason)
endmacro()

function(write_tree root with_refused)
    file(REMOVE_RECURSE ${root})
    file(WRITE ${root}/src/token/beside.h "#pragma once\n")
    foreach(case ${cases})
        read_case("${case}")
        if(reason STREQUAL "" OR with_refused)
            file(WRITE ${root}/src/${file} "// A case of the layer check.\n\n#include \"${header}\"\n")
        endif()
    endforeach()
    if(with_refused)
        file(WRITE ${root}/src/extra/unplaced.cpp "\n")
    endif()
endfunction()

function(run_check root out_rc out_text)
    execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root}/src -P ${CHECKER}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(${out_rc} ${rc} PARENT_SCOPE)
    set(${out_text} "${out}${err}" PARENT_SCOPE)
endfunction()

set(failures "")

write_tree(${WORK_DIR}/refused TRUE)
run_check(${WORK_DIR}/refused rc text)
set(said "${text}")
if(rc EQUAL 0)
    list(APPEND failures "the check passed a tree with wrong-way includes")
endif()
foreach(case ${cases} "extra||a folder without a place in the layers (cmake/layers.cmake)")
    read_case("${case}")
    if(file STREQUAL "extra")
        set(expected "src/extra: ${reason}")
    elseif(NOT reason STREQUAL "")
        set(expected "src/${file}:3: #include \"${header}\" ${reason}\n")
    else()
        string(FIND "${text}" "src/${file}:" at)
        if(NOT at EQUAL -1)
            list(APPEND failures "src/${file} was refused")
        endif()
        continue()
    endif()
    string(FIND "${text}" "${expected}" at)
    if(at EQUAL -1)
        list(APPEND failures "missing: ${expected}")
    endif()
endforeach()

write_tree(${WORK_DIR}/accepted FALSE)
run_check(${WORK_DIR}/accepted rc text)
if(NOT rc EQUAL 0 OR NOT text STREQUAL "")
    list(APPEND failures "the accepted cases alone gave ${rc}: ${text}")
endif()
if(failures)
    set(failures "${failures};The check said of all cases:\n${said}")
endif()

if(failures)
    string(REPLACE ";" "\n" failures "${failures}")
    message(FATAL_ERROR "${failures}")
endif()
