# quarnel_static_library(NAME SOURCES...): a static library, or an interface library
# while the folder has no sources yet (header-only parts).
function(quarnel_static_library name)
  if(ARGN)
    add_library(${name} STATIC ${ARGN})
    set(${name}_SCOPE PUBLIC PARENT_SCOPE)
  else()
    add_library(${name} INTERFACE)
    set(${name}_SCOPE INTERFACE PARENT_SCOPE)
  endif()
endfunction()
