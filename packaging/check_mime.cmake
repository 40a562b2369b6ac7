# Builds a MIME database from our package alone and checks that it knows *.tanu.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/packages)
configure_file(${MIME_PACKAGE} ${WORK_DIR}/packages/tanu.xml COPYONLY)
execute_process(COMMAND update-mime-database -V ${WORK_DIR}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "update-mime-database refused the package:\n${out}")
endif()
file(STRINGS ${WORK_DIR}/globs2 globs REGEX "application/x-tanu")
if(NOT globs MATCHES "application/x-tanu:\\*\\.tanu")
    message(FATAL_ERROR "*.tanu is not in the built database: ${globs}")
endif()
message(STATUS "update-mime-database accepted the package: ${globs}")
