# SPDX-License-Identifier: MIT
# Copies SOURCE into DEST. Once staged, the user's state stays: existing schedule files (los_*) keep the
# results typed into them, and the first-run marker 1.st is not brought back after it was acknowledged.
set(staged_before FALSE)
if(EXISTS ${DEST}/souteze)
    set(staged_before TRUE)
endif()
file(GLOB_RECURSE files RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(f IN LISTS files)
    get_filename_component(name ${f} NAME)
    if(name MATCHES "^los_" AND EXISTS ${DEST}/${f})
        continue()
    endif()
    if(name STREQUAL "1.st" AND staged_before)
        continue()
    endif()
    get_filename_component(dir ${DEST}/${f} DIRECTORY)
    file(COPY ${SOURCE}/${f} DESTINATION ${dir})
endforeach()
