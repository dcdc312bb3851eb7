# The browser build, configured with emscripten's toolchain (scripts/web):
# the same sources as the desktop program, less its window back ends and its
# SDL sound, plus src/web/ (the browser back end, its Web Audio sound and
# the GL layer that fills in what emscripten's desktop-GL emulation lacks).
# src/web/ sits beside display/, above every other layer.
# It writes the page into the build folder: index.html, page.js,
# cryptwell.js, cryptwell.wasm, the eight data files and the icon.
set(CRYPTWELL_MAKE_ASSETS "" CACHE FILEPATH "make_assets built for this machine")
if(NOT EXISTS "${CRYPTWELL_MAKE_ASSETS}")
  message(FATAL_ERROR "CRYPTWELL_MAKE_ASSETS must name make_assets built for this machine")
endif()

# Debian's emscripten runs its JavaScript optimiser on Node.js and needs
# Debian's Node modules (node-acorn), which a Node.js from elsewhere does
# not look for.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# Every layer but display/, the desktop's window back ends, and the entry;
# src/web/ has its own sound and swap interval in place of the desktop's.
set(WEB_LAYERS core platform gfx text particles world game input run scene cli)
set(DESKTOP_ONLY gfx/swap_interval.cpp platform/sound.cpp platform/sdl_library.cpp)
set(program_sources "")
foreach(layer IN LISTS WEB_LAYERS)
  file(GLOB layer_sources CONFIGURE_DEPENDS src/${layer}/*.cpp)
  list(APPEND program_sources ${layer_sources})
endforeach()
list(TRANSFORM DESKTOP_ONLY PREPEND ${CMAKE_SOURCE_DIR}/src/)
list(REMOVE_ITEM program_sources ${DESKTOP_ONLY})
file(GLOB web_sources CONFIGURE_DEPENDS src/web/*.cpp)

add_executable(cryptwell ${program_sources} ${web_sources})
target_include_directories(cryptwell PRIVATE src src/web/include)
target_compile_definitions(cryptwell PRIVATE CRYPTWELL_VERSION="${PROJECT_VERSION}"
  CRYPTWELL_BUG_ADDRESS="" CRYPTWELL_HOME_PAGE="" CRYPTWELL_DATA_FROM_BIN="")
# The program's own sources draw through the GL layer; the layer itself
# calls the emulation.
set_source_files_properties(${program_sources} PROPERTIES
  COMPILE_OPTIONS "-include;${CMAKE_SOURCE_DIR}/src/web/gl_compat.h")
target_link_options(cryptwell PRIVATE
  -sLEGACY_GL_EMULATION -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH
  --js-library ${CMAKE_SOURCE_DIR}/src/web/page_library.js
  "-sEXPORTED_RUNTIME_METHODS=[FS,addRunDependency,removeRunDependency]")
set_target_properties(cryptwell PROPERTIES SUFFIX ".js"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The eight data files, and the icon for the page's tab.
set(DATA_FILES font.bmp smoke128.bmp sphere128.bmp alien31_256.bmp dirt128.bmp alien69_256.bmp
    laser.wav boom.wav cryptwell-32.png)
list(TRANSFORM DATA_FILES PREPEND ${CMAKE_BINARY_DIR}/ OUTPUT_VARIABLE data_outputs)
list(TRANSFORM DATA_FILES PREPEND ${CMAKE_BINARY_DIR}/assets/ OUTPUT_VARIABLE made_files)
add_custom_command(
  OUTPUT ${data_outputs}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/assets
  COMMAND ${CRYPTWELL_MAKE_ASSETS} ${CMAKE_BINARY_DIR}/assets
  COMMAND ${CMAKE_COMMAND} -E copy ${made_files} ${CMAKE_BINARY_DIR}
  DEPENDS ${CRYPTWELL_MAKE_ASSETS}
  COMMENT "Writing the pictures and sounds")
set(shell_files index.html page.js)
list(TRANSFORM shell_files PREPEND ${CMAKE_BINARY_DIR}/ OUTPUT_VARIABLE shell_outputs)
add_custom_command(
  OUTPUT ${shell_outputs}
  COMMAND ${CMAKE_COMMAND} -E copy index.html page.js ${CMAKE_BINARY_DIR}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/src/web/page
  DEPENDS src/web/page/index.html src/web/page/page.js)
add_custom_target(page ALL DEPENDS ${data_outputs} ${shell_outputs})
