# Lays out the folder Talvane/ under STAGE from the programs in BIN and packs it into ZIP.
#   cmake -DBIN=... -DSTAGE=... -DZIP=... -DREADME=... -DTALVANE_VERSION=...
#         -DTALVANE_ARCHITECTURE=... -P package.cmake
set(folder ${STAGE}/Talvane)
file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${folder})

file(GLOB definitions ${BIN}/*.QXInstrument)
if(NOT definitions)
    message(FATAL_ERROR "no instrument definition in ${BIN}")
endif()
file(COPY ${BIN}/Talvane95.exe ${BIN}/Talvane95.dat ${BIN}/Talvane95.chm ${definitions}
     DESTINATION ${folder})

# Notepad on older Windows wants carriage returns.
file(READ ${README} text)
string(CONFIGURE "${text}" text @ONLY)
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${folder}/README.txt "${text}")

get_filename_component(zip_folder ${ZIP} DIRECTORY)
file(MAKE_DIRECTORY ${zip_folder})
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip Talvane
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not write ${ZIP}")
endif()
