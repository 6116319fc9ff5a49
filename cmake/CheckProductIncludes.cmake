# cmake -DGW_SOURCE_DIR=<repo> [-DGW_EXTRA_PRODUCT_FILES=<file;...>] -P CheckProductIncludes.cmake
# Fails when a file of the product, or a face header it reaches, includes a project header that
# is neither the product's own nor in the device face (the simulated device in Device/, the
# simulator in sim/, a face header's simulator-only companion): the product must build for a
# device from the same sources, where only the face exists. GW_EXTRA_PRODUCT_FILES (absolute
# paths) are checked as product files too, so that the check itself can be tested.
include(${CMAKE_CURRENT_LIST_DIR}/DeviceFace.cmake)

file(GLOB product_files RELATIVE ${GW_SOURCE_DIR}
     ${GW_SOURCE_DIR}/Tweak.cpp ${GW_SOURCE_DIR}/VXCommon/*.h ${GW_SOURCE_DIR}/VXCommon/*.cpp
     ${GW_SOURCE_DIR}/gyrowhirlprefs/*.h ${GW_SOURCE_DIR}/gyrowhirlprefs/*.cpp)
set(pending)
foreach(file IN LISTS product_files)
  list(APPEND pending ${GW_SOURCE_DIR}/${file})
endforeach()
list(APPEND pending ${GW_EXTRA_PRODUCT_FILES})
foreach(header IN LISTS GW_DEVICE_FACE_HEADERS)
  list(APPEND pending ${GW_SOURCE_DIR}/platform/${header})
endforeach()

set(offences)
foreach(path IN LISTS pending)
  if(NOT EXISTS ${path})
    list(APPEND offences "${path}: listed in the device face but missing")
    continue()
  endif()
  file(STRINGS ${path} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
    if(included MATCHES "^(VXCommon|gyrowhirlprefs)/" AND EXISTS ${GW_SOURCE_DIR}/${included})
      continue()
    endif()
    list(FIND GW_DEVICE_FACE_HEADERS "${included}" at)
    if(at EQUAL -1)
      list(APPEND offences "${path}: includes \"${included}\", which is not in the device face")
    endif()
  endforeach()
endforeach()

if(offences)
  list(LENGTH offences offenceCount)
  list(JOIN offences "\n" report)
  message(FATAL_ERROR "${report}\n${offenceCount} includes outside the device face")
endif()
list(LENGTH product_files count)
message(STATUS "${count} product files include only the device face")
