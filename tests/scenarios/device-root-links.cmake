# A symbolic link below the device root, at the settings file or at a folder on its way to it, is
# refused with an error naming it, and nothing it leads to outside the root is written.
cmake_policy(SET CMP0054 NEW)
set(work ${CMAKE_CURRENT_BINARY_DIR}/device-root-links)
set(settings var/mobile/Library/Preferences/com.vantor.glidepad.plist)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/outside ${work}/file/var/mobile/Library/Preferences
     ${work}/folder/var/mobile)
file(WRITE ${work}/outside/target "untouched")
file(CREATE_LINK ${work}/outside/target ${work}/file/${settings} SYMBOLIC)
file(CREATE_LINK ${work}/outside ${work}/folder/var/mobile/Library SYMBOLIC)
file(WRITE ${work}/copy.session "settings-file ${DATA}/garbage.plist\n")

function(expect_refused root link)
  execute_process(COMMAND ${SIM} --quiet --root=${work}/${root} ${work}/copy.session
                  RESULT_VARIABLE status ERROR_VARIABLE errors)
  string(FIND "${errors}" "${work}/${root}/${link} is a symbolic link" at)
  if(NOT status EQUAL 2 OR at EQUAL -1)
    message(FATAL_ERROR "root ${root}: expected status 2 naming the link, got ${status}:\n${errors}")
  endif()
endfunction()
expect_refused(file ${settings})  # at the settings file: settings-file refuses to copy
expect_refused(folder var/mobile/Library)  # at a folder: the start-up probe refuses the root

file(GLOB names RELATIVE ${work}/outside ${work}/outside/*)
file(READ ${work}/outside/target content)
if(NOT names STREQUAL "target" OR NOT content STREQUAL "untouched")
  message(FATAL_ERROR "written outside the root: ${names}, the target now holds '${content}'")
endif()
file(REMOVE_RECURSE ${work})
