# Run by CPack once the ZIP generator has packed the staged files: writes the
# zip again so that its bytes depend on the files alone, then writes
# SHA256SUMS into the package folder, where the zip goes.
#
# Every entry carries one time: SOURCE_DATE_EPOCH when it is set, else the
# time of the source's last commit, else a fixed date (a source without git).

set(fallback_epoch 1767225600)  # 2026-01-01 00:00:00 UTC

if("$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
    set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
    set(epoch "")
    if(CPACK_TERVANE_GIT)
        # Only the source's own repository counts, not one it was unpacked into.
        execute_process(
            COMMAND "${CPACK_TERVANE_GIT}" -C "${CPACK_TERVANE_SOURCE_DIR}" rev-parse --show-toplevel
            OUTPUT_VARIABLE top
            OUTPUT_STRIP_TRAILING_WHITESPACE
            ERROR_QUIET)
        file(REAL_PATH "${CPACK_TERVANE_SOURCE_DIR}" source_real)
        if(top AND IS_DIRECTORY "${top}")
            file(REAL_PATH "${top}" top)
        endif()
        if(top STREQUAL source_real)
            execute_process(
                COMMAND "${CPACK_TERVANE_GIT}" -C "${CPACK_TERVANE_SOURCE_DIR}" log -1 --format=%ct
                OUTPUT_VARIABLE epoch
                OUTPUT_STRIP_TRAILING_WHITESPACE
                ERROR_QUIET
                RESULT_VARIABLE git_result)
            if(NOT git_result EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
                set(epoch "")
            endif()
        endif()
    endif()
    if(epoch STREQUAL "")
        set(epoch ${fallback_epoch})
    endif()
endif()

list(LENGTH CPACK_PACKAGE_FILES package_count)
if(NOT package_count EQUAL 1)
    message(FATAL_ERROR "expected one package, CPack made: ${CPACK_PACKAGE_FILES}")
endif()
set(zip "${CPACK_PACKAGE_FILES}")
set(staged "${CPACK_TEMPORARY_DIRECTORY}")
if(NOT IS_DIRECTORY "${staged}")
    message(FATAL_ERROR "no staged files at '${staged}'")
endif()

execute_process(
    COMMAND "${CPACK_TERVANE_PYTHON}" "${CPACK_TERVANE_ZIP_WRITER}" "${staged}" "${zip}" ${epoch}
    RESULT_VARIABLE zip_result)
if(NOT zip_result EQUAL 0)
    message(FATAL_ERROR "writing ${zip} failed")
endif()

# CPack copies the zip from its working folder to the package folder next.
get_filename_component(zip_name "${zip}" NAME)
file(SHA256 "${zip}" zip_hash)
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${zip_hash}  ${zip_name}\n")
message(STATUS "${zip_name}: sha256 ${zip_hash}, files dated ${epoch} (SHA256SUMS beside it)")
