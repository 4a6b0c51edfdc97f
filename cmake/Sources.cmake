# Source layout: every subsystem folder under src/ holds its portable code directly and its
# Windows-only shell code in a win/ subfolder; tests mirror that under tests/. Each
# subsystem is a library of its own, so a subsystem's tests build without the others.

# Subsystems in dependency order, each with the subsystems it builds on.
set(PELMORA_SUBSYSTEMS base raster picture view clipboard richtext dialogs app)
set(PELMORA_DEPS_base "")
set(PELMORA_DEPS_raster base)
set(PELMORA_DEPS_picture base raster)
set(PELMORA_DEPS_view base raster picture)
set(PELMORA_DEPS_clipboard base raster picture)
set(PELMORA_DEPS_richtext base clipboard)
set(PELMORA_DEPS_dialogs base picture view clipboard)
set(PELMORA_DEPS_app base raster picture view richtext clipboard dialogs)

# Windows code in win/ that the portable library itself calls (files by their UTF-16 names,
# code page 932 through the system's converter): on Windows it is compiled into the
# portable library, so every subsystem that reads files links it without the shell.
set(PELMORA_PORTABLE_WIN_base win/file_stream.cpp win/code_page_932.cpp win/file_name.cpp)

# pelmora_<sub>: the portable code of one subsystem.
# pelmora_<sub>_win: its Windows shell code, on top of the portable code (an interface
# library for a subsystem without any, such as raster or picture).
function(pelmora_add_subsystem sub root)
  file(GLOB portable CONFIGURE_DEPENDS "${root}/${sub}/*.cpp")
  set(portable_win "")
  foreach(file IN LISTS PELMORA_PORTABLE_WIN_${sub})
    list(APPEND portable_win "${root}/${sub}/${file}")
  endforeach()
  if(WIN32)
    list(APPEND portable ${portable_win})
  endif()
  add_library(pelmora_${sub} STATIC ${portable})
  target_include_directories(pelmora_${sub} PUBLIC ${root})
  foreach(dep IN LISTS PELMORA_DEPS_${sub})
    target_link_libraries(pelmora_${sub} PUBLIC pelmora_${dep})
  endforeach()

  if(NOT WIN32)
    return()
  endif()
  file(GLOB shell CONFIGURE_DEPENDS "${root}/${sub}/win/*.cpp")
  if(portable_win)
    list(REMOVE_ITEM shell ${portable_win})
  endif()
  if(shell)
    add_library(pelmora_${sub}_win STATIC ${shell})
    set(scope PUBLIC)
  else()
    add_library(pelmora_${sub}_win INTERFACE)
    set(scope INTERFACE)
  endif()
  target_link_libraries(pelmora_${sub}_win ${scope} pelmora_${sub} pelmora_win32)
  foreach(dep IN LISTS PELMORA_DEPS_${sub})
    target_link_libraries(pelmora_${sub}_win ${scope} pelmora_${dep}_win)
  endforeach()
endfunction()
