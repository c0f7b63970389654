# Packs the build tree with CPack into WORK_DIR and checks the Debian
# package: exactly the programs, the program's icon, menu entry and AppStream
# data, the manual pages, copyright and changelog, and the starter icons,
# where the program looks for them; the library dependencies that
# dpkg-shlibdeps found; and, with LINTIAN set, what lintian says: no error
# and no warning, and no note but those in LINTIAN_ALLOWED.
#
# cmake -DBUILD_DIR=… -DWORK_DIR=… -DPREFIX=/usr -DCPACK=… -DDPKG_DEB=… [-DLINTIAN=… -DLINTIAN_ALLOWED=…]
#       -P CheckPackage.cmake

cmake_minimum_required(VERSION 3.25)

foreach(variable BUILD_DIR WORK_DIR PREFIX CPACK DPKG_DEB)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(
  COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()

file(GLOB packages ${WORK_DIR}/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one .deb, found ${count}: ${packages}")
endif()
set(package ${packages})

# Every file of the package (directories left out), as installed paths.
execute_process(COMMAND ${DPKG_DEB} --contents ${package} OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "dpkg-deb --contents failed")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(actual)
set(executables)
foreach(line IN LISTS lines)
  if(line MATCHES "^-([-rwx]+) .* \\.(/[^ ]+)$")
    set(mode ${CMAKE_MATCH_1})
    set(path ${CMAKE_MATCH_2})
    list(APPEND actual ${path})
    if(mode MATCHES "^..x")
      list(APPEND executables ${path})
    endif()
  elseif(NOT line MATCHES "^d" AND NOT line STREQUAL "")
    message(FATAL_ERROR "neither a file nor a folder in the package: ${line}")
  endif()
endforeach()

set(programs ${PREFIX}/bin/cofferon-check ${PREFIX}/bin/cofferon-export ${PREFIX}/bin/cofferon-generator
    ${PREFIX}/bin/cofferon-import)
set(expected ${programs} ${PREFIX}/share/applications/cofferon-generator.desktop
    ${PREFIX}/share/mime/packages/cofferon-generator.xml
    ${PREFIX}/share/metainfo/invalid.cofferon.generator.metainfo.xml ${PREFIX}/share/doc/cofferon-generator/copyright
    ${PREFIX}/share/doc/cofferon-generator/changelog.gz)
foreach(program cofferon-check cofferon-export cofferon-generator cofferon-import)
  list(APPEND expected ${PREFIX}/share/man/man1/${program}.1.gz)
endforeach()
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/cofferon-generator.png)
endforeach()
file(GLOB starter_icons RELATIVE ${BUILD_DIR}/items ${BUILD_DIR}/items/*)
list(LENGTH starter_icons starter_count)
if(starter_count LESS 20)
  message(FATAL_ERROR "the build tree holds only ${starter_count} starter icons")
endif()
foreach(icon IN LISTS starter_icons)
  list(APPEND expected ${PREFIX}/share/cofferon/items/${icon})
endforeach()

list(SORT actual)
list(SORT expected)
if(NOT actual STREQUAL expected)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${actual})
  set(extra ${actual})
  list(REMOVE_ITEM extra ${expected})
  message(FATAL_ERROR "package files differ\n  missing: ${missing}\n  not expected: ${extra}")
endif()
list(SORT executables)
if(NOT executables STREQUAL programs)
  message(FATAL_ERROR "executable files: ${executables}, expected ${programs}")
endif()

# The libraries come from dpkg-shlibdeps, the rest from the package's own list.
execute_process(COMMAND ${DPKG_DEB} --field ${package} Depends OUTPUT_VARIABLE depends)
string(STRIP "${depends}" depends)
string(REPLACE ", " ";" depends_list "${depends}")
set(depended)
foreach(dependency IN LISTS depends_list)
  string(REGEX REPLACE " .*" "" dependency "${dependency}")
  list(APPEND depended ${dependency})
endforeach()
foreach(needed libqt6widgets6 libqt6gui6 libyaml-0-2 libstdc++6 libc6 qt6-qpa-plugins fonts-wqy-microhei
               qt6-translations-l10n)
  if(NOT needed IN_LIST depended)
    message(FATAL_ERROR "Depends lacks ${needed}: ${depends}")
  endif()
endforeach()
# yaml-cpp is only the benchmarks' yardstick: no installed program uses it.
if(libyaml-cpp0.7 IN_LIST depended)
  message(FATAL_ERROR "Depends names yaml-cpp, which no installed program uses: ${depends}")
endif()

# The menu entry names the program and the icon the package installs.
execute_process(COMMAND ${DPKG_DEB} -x ${package} ${WORK_DIR}/root RESULT_VARIABLE result)
file(READ ${WORK_DIR}/root${PREFIX}/share/applications/cofferon-generator.desktop entry)
foreach(line "Name=Cofferon 配置生成器" "Exec=cofferon-generator %f" "Icon=cofferon-generator" "Type=Application"
             "MimeType=application/x-yaml;application/x-cofferon-project;")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the menu entry lacks the line ${line}")
  endif()
endforeach()

if(LINTIAN)
  execute_process(COMMAND ${LINTIAN} --fail-on none --display-info ${package} OUTPUT_VARIABLE said ERROR_VARIABLE errors
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "lintian failed:\n${errors}")
  endif()
  string(REPLACE "\n" ";" said "${said}")
  set(refused)
  foreach(line IN LISTS said)
    if(line MATCHES "^([EWI]): [^ ]+: ([^ ]+)")
      if(NOT CMAKE_MATCH_1 STREQUAL "I" OR NOT CMAKE_MATCH_2 IN_LIST LINTIAN_ALLOWED)
        string(APPEND refused "\n  ${line}")
      endif()
    endif()
  endforeach()
  if(refused)
    message(FATAL_ERROR "lintian:${refused}")
  endif()
endif()
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "${package}: ${count} package, files as expected")
