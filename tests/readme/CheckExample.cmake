# Fails unless the README shows the example script and its output exactly as the files
# hold them, so that what a reader copies is what the tests run.
#   cmake -DREADME=... -DSCRIPT=... -DOUTPUT=... -P CheckExample.cmake
file(READ ${README} readme)
foreach(kind SCRIPT OUTPUT)
    file(READ ${${kind}} text)
    string(FIND "${readme}" "\n${text}```\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "README.md does not show ${${kind}} as it stands in a code block")
    endif()
endforeach()
