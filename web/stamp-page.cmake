# Finishes the page once the program is linked (cmake -P, from
# web/CMakeLists.txt): the program's files compressed beside them, the
# build's id, and the page's templates filled in with it.
#
#   -DPAGE_DIR=...      the page's folder (KANSU_WEB_PAGE_DIR)
#   -DSOURCE_DIR=...    web/
#   -DPAGE_FILES=a;b    the page's own files, already copied into PAGE_DIR
#   -DLESSON_NAME=...   the lesson's name (the app's name when installed)
#   -DFACTS_HEADER=...  src/canvas/app/DesignFacts.h, whose caption titles the page
#   -DZOPFLI=... -DBROTLI=...   the compressors (either may be empty)
#
# The program's files travel as .gz (zopfli, else gzip at its highest
# level): the page decompresses them itself when a server sends them as
# they are. The .br copies are for servers that send precompressed files.

# The program's files, and the start of the name of every build's cache
# (the service worker removes the older builds' caches by it).
set(program kansu-envelope.js kansu-envelope.wasm)
set(cache_prefix kansu-envelope-)

# The window's caption, from the design facts table, as the page's title.
file(STRINGS ${FACTS_HEADER} caption_line ENCODING UTF-8 REGEX "std::string_view caption = \".*\";")
string(REGEX MATCH "caption = \"([^\"]*)\"" caption_found "${caption_line}")
set(caption "${CMAKE_MATCH_1}")
if(NOT caption_found OR caption STREQUAL "")
  message(FATAL_ERROR "no caption in ${FACTS_HEADER}")
endif()

foreach(file IN LISTS program)
  set(path ${PAGE_DIR}/${file})
  if(ZOPFLI)
    # Five iterations: within 1 % of the default fifteen, in a third of the time.
    execute_process(COMMAND ${ZOPFLI} --i5 -c ${path} OUTPUT_FILE ${path}.gz COMMAND_ERROR_IS_FATAL ANY)
  else()
    execute_process(COMMAND gzip -9 -n -c ${path} OUTPUT_FILE ${path}.gz COMMAND_ERROR_IS_FATAL ANY)
  endif()
  if(BROTLI)
    execute_process(COMMAND ${BROTLI} -q 11 -f -o ${path}.br ${path} COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()

# The build's id: the checksum of everything the page ships, templates
# included, so that any change gives the service worker a cache of its own.
set(shipped ${program} ${PAGE_FILES})
set(digest "")
foreach(file IN LISTS shipped)
  file(SHA256 ${PAGE_DIR}/${file} sum)
  string(APPEND digest "${file}:${sum}\n")
endforeach()
foreach(template index.html sw.js manifest.webmanifest)
  file(SHA256 ${SOURCE_DIR}/${template} sum)
  string(APPEND digest "${template}:${sum}\n")
endforeach()
string(APPEND digest "caption:${caption}\n")
string(SHA256 build "${digest}")
string(SUBSTRING ${build} 0 16 build)

# Per program file the sizes of the plain and the .gz copy, for the
# loading screen's progress bar.
set(sizes "{")
foreach(file IN LISTS program)
  file(SIZE ${PAGE_DIR}/${file} plain)
  file(SIZE ${PAGE_DIR}/${file}.gz gz)
  if(NOT sizes STREQUAL "{")
    string(APPEND sizes ",")
  endif()
  string(APPEND sizes "\"${file}\":{\"plain\":${plain},\"gz\":${gz}}")
endforeach()
string(APPEND sizes "}")

# A list as JavaScript's array items: 'a', 'b'.
function(js_items out)
  set(items ${ARGN})
  list(TRANSFORM items PREPEND "'")
  list(TRANSFORM items APPEND "'")
  list(JOIN items ", " text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
# What the service worker keeps: the page, its files and the program.
# The templates' @KANSU_...@ words.
js_items(KANSU_FILES index.html manifest.webmanifest ${program} ${PAGE_FILES})
js_items(KANSU_PROGRAM ${program})
set(KANSU_BUILD ${build})
set(KANSU_SIZES ${sizes})
set(KANSU_NAME ${LESSON_NAME})
set(KANSU_CAPTION ${caption})
set(KANSU_CACHE_PREFIX ${cache_prefix})

foreach(template index.html sw.js manifest.webmanifest)
  file(READ ${SOURCE_DIR}/${template} text)
  string(CONFIGURE "${text}" text @ONLY)
  file(WRITE ${PAGE_DIR}/${template}.partial "${text}")
  file(RENAME ${PAGE_DIR}/${template}.partial ${PAGE_DIR}/${template})
endforeach()
message(STATUS "The page's build: ${build}")
