# headers_alone: every header of src/ compiled on its own, so that a header
# that leans on what its includers happened to include before it fails the
# build.  One generated one-line source per header, written at configure time
# and rewritten only when it changes; each part of src/ gets the include path
# its own sources have (the core only src/core, kelvoractl its folder and the
# core, the window src/ and X).
set(HEADERS_ALONE_DIR ${CMAKE_BINARY_DIR}/headers_alone)

function(headers_alone_sources out root)
  set(sources)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/${root} ${CMAKE_SOURCE_DIR}/${root}/*.h)
  foreach(header IN LISTS headers)
    if(root STREQUAL "src")
      # The core and kelvoractl have targets of their own below.
      if(header MATCHES "^(core|ctl)/")
        continue()
      endif()
    endif()
    set(source ${HEADERS_ALONE_DIR}/${root}/${header}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${header}\"\n" @ONLY)
    list(APPEND sources ${source})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

headers_alone_sources(core_headers src/core)
add_library(headers_alone_core OBJECT ${core_headers})
target_include_directories(headers_alone_core PRIVATE src/core)

headers_alone_sources(ctl_headers src/ctl)
add_library(headers_alone_ctl OBJECT ${ctl_headers})
target_include_directories(headers_alone_ctl PRIVATE src/ctl src/core)

headers_alone_sources(window_headers src)
add_library(headers_alone_window OBJECT ${window_headers})
target_include_directories(headers_alone_window PRIVATE src src/core ${MOTIF_INCLUDE_DIR} ${X11_INCLUDE_DIR})

add_custom_target(headers_alone DEPENDS headers_alone_core headers_alone_ctl headers_alone_window)
