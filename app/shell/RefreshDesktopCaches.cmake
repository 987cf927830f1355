# Run by cmake --install: tells the desktop of the installed document type and desktop entry.
# Each tool runs only when it exists and its folder can be written; what it says is shown, but
# it never fails the install.
set(share "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share")

function(refresh tool folder)
  find_program(${tool}_path ${tool})
  if(NOT ${tool}_path OR NOT IS_DIRECTORY "${folder}")
    return()
  endif()
  execute_process(COMMAND test -w "${folder}" RESULT_VARIABLE unwritable)
  if(unwritable)
    return()
  endif()
  execute_process(COMMAND ${${tool}_path} "${folder}" RESULT_VARIABLE failed)
  if(failed)
    message(STATUS "${tool} ${folder}: ${failed}")
  endif()
endfunction()

refresh(update-mime-database "${share}/mime")
refresh(update-desktop-database "${share}/applications")
