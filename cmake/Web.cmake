# The course in the browser: built with emscripten against Qt for WebAssembly
# (scripts/web-qt.sh), the pictures drawn by the build for this machine (LUMORA_HOST_BUILD).

# The course reports every failure by throwing one exception and catching it in one place; Qt is
# built without exceptions, and asks every program it links into to leave catching out too.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
foreach(qt_target Qt6::Platform Qt6::PlatformCommonInternal)
  if(TARGET ${qt_target})
    get_target_property(options ${qt_target} INTERFACE_LINK_OPTIONS)
    if(options)
      list(TRANSFORM options REPLACE "DISABLE_EXCEPTION_CATCHING=1" "DISABLE_EXCEPTION_CATCHING=0")
      set_target_properties(${qt_target} PROPERTIES INTERFACE_LINK_OPTIONS "${options}")
    endif()
  endif()
endforeach()

# How the course's program is linked: small (-Oz), no threads, memory that grows as pages are
# drawn larger, and the file system the loader fills with the site's pictures and fonts before
# the course starts (FS and the run dependencies are what the loader uses of the runtime).
set(LUMORA_WEB_OPTIMIZE "-Oz" CACHE STRING "The optimisation of the browser build's code and link")
add_compile_options(${LUMORA_WEB_OPTIMIZE})
function(lumora_web_executable target)
  target_link_options(${target} PRIVATE ${LUMORA_WEB_OPTIMIZE} "SHELL:-s FORCE_FILESYSTEM=1")
  set_target_properties(${target} PROPERTIES
    QT_WASM_EXTRA_EXPORTED_METHODS "FS,addRunDependency,removeRunDependency"
    QT_WASM_INITIAL_MEMORY "64MB")
endfunction()
