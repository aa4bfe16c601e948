# The Wine prefix a Windows build's tests run in (CMAKE_CROSSCOMPILING_EMULATOR names it), made by the
# build: made by the first test listing instead, its start-up could outlast the listing's time limit
# on a busy machine.
set(WINE_PREFIX_STAMP ${CMAKE_BINARY_DIR}/wine-prefix.made)
add_custom_command(OUTPUT ${WINE_PREFIX_STAMP}
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init
    COMMAND ${CMAKE_COMMAND} -E touch ${WINE_PREFIX_STAMP}
    COMMENT "Making the Wine prefix the tests run in"
    VERBATIM)
add_custom_target(wine_prefix ALL DEPENDS ${WINE_PREFIX_STAMP})
