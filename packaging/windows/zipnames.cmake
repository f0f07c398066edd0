# Run by CPack once it has made the ZIP: the names in it rewritten for Windows 7's own ZIP folder.
foreach(_zip IN LISTS CPACK_PACKAGE_FILES)
    execute_process(COMMAND "${CPACK_ZANVO_PYTHON}" "${CPACK_ZANVO_ZIP_NAMES}" "${_zip}"
                    RESULT_VARIABLE _failed)
    if(_failed)
        message(FATAL_ERROR "cannot rewrite the names in ${_zip}")
    endif()
endforeach()
