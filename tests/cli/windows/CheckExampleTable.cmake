# orvbatch.exe run under Wine on the bundled example, as the native demo runs it: the table it
# prints must be the native orvbatch's, line for line (tests/cli/example-table.expected, which
# a native test keeps true).
#   cmake -DWINE_RUN=... -DORVBATCH=... -DEXAMPLES=... -DEXPECTED=... -P CheckExampleTable.cmake
execute_process(
    COMMAND ${WINE_RUN} ${ORVBATCH} analyse --tm memory.tmx --user demo --target de-DE
            --rates rates.ini docs
    WORKING_DIRECTORY ${EXAMPLES}
    OUTPUT_VARIABLE table
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "orvbatch.exe ended with ${status}:\n${errors}")
endif()
string(REPLACE "\r\n" "\n" table "${table}")
file(READ ${EXPECTED} expected)
if(NOT table STREQUAL expected)
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/example-table.actual "${table}")
    message(FATAL_ERROR "orvbatch.exe printed another table than the native one "
                        "(written to ${CMAKE_CURRENT_BINARY_DIR}/example-table.actual):\n${table}")
endif()
