# orvbatch.exe under Wine with every path beyond ASCII: the working folder, the TM, the rate
# grid, a document and the log folder, all within the ANSI code page. Its table must be the
# native one with the document's name changed and its logs must be where it was told.
#   cmake -DWINE_RUN=... -DORVBATCH=... -DEXAMPLES=... -DEXPECTED=... -DWORK=...
#         -P CheckNonAsciiPaths.cmake
set(here "${WORK}/Übersetzung Ärger")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${here}/Dokumente")
file(COPY_FILE ${EXAMPLES}/memory.tmx "${here}/Gedächtnis.tmx")
file(COPY_FILE ${EXAMPLES}/rates.ini "${here}/Sätze.ini")
file(GLOB documents ${EXAMPLES}/docs/*)
foreach(document IN LISTS documents)
    get_filename_component(name ${document} NAME)
    if(name STREQUAL "notes.txt")
        set(name "notizen für ärzte.txt")
    endif()
    file(COPY_FILE ${document} "${here}/Dokumente/${name}")
endforeach()

execute_process(
    COMMAND ${WINE_RUN} ${ORVBATCH} analyse --tm Gedächtnis.tmx --user demo --target de-DE
            --rates Sätze.ini --log "Protokoll ß/analyse.log" Dokumente
    WORKING_DIRECTORY "${here}"
    OUTPUT_FILE "${WORK}/table.ansi"
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "orvbatch.exe ended with ${status}:\n${errors}")
endif()
# It writes in the ANSI code page, the western one under Wine here.
execute_process(COMMAND iconv -f WINDOWS-1252 -t UTF-8 "${WORK}/table.ansi"
                OUTPUT_VARIABLE table RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "orvbatch.exe's table is no Windows-1252 text")
endif()
string(REPLACE "\r\n" "\n" table "${table}")
file(READ ${EXPECTED} expected)
string(REPLACE "notes.txt  " "notizen für ärzte.txt  " expected "${expected}")
if(NOT table STREQUAL expected)
    message(FATAL_ERROR "orvbatch.exe printed another table than the native one:\n${table}")
endif()
foreach(log analyse.log analyse.csv)
    if(NOT EXISTS "${here}/Protokoll ß/${log}")
        message(FATAL_ERROR "orvbatch.exe wrote no ${log} into \"Protokoll ß\":\n${errors}")
    endif()
endforeach()

# Japanese has no place in the western ANSI code page that orvbatch.exe and the job file work
# in: a document so named is refused by its folder, whether found there or given itself, and
# never analysed as some other file.
file(MAKE_DIRECTORY "${here}/Japanisch")
file(COPY_FILE ${EXAMPLES}/docs/notes.txt "${here}/Japanisch/説明.txt")
foreach(given Japanisch Japanisch/説明.txt)
    execute_process(
        COMMAND ${WINE_RUN} ${ORVBATCH} analyse --tm Gedächtnis.tmx --user demo --target de-DE
                ${given}
        WORKING_DIRECTORY "${here}"
        OUTPUT_VARIABLE table
        ERROR_VARIABLE errors
        RESULT_VARIABLE status)
    string(FIND "${errors}" "cannot represent" refused)
    if(NOT status EQUAL 2 OR refused EQUAL -1)
        message(FATAL_ERROR "orvbatch.exe did not refuse ${given} (status ${status}):\n"
                            "${errors}\n${table}")
    endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
