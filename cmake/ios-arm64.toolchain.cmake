# Cross-compiles for iPhone (arm64, iOS 14.0 and later) from Debian: clang 14, its Mach-O linker
# (ld64.lld) and an iPhoneOS SDK given by GW_IOS_SDK (cache or environment; default: the SDK
# beside the clone, ../shared/ios-sdk/iPhoneOS15.6.sdk, when it exists). Used by the "ios"
# preset of CMakePresets.json.
#
# arm64 only: no Debian linker produces the arm64e ABI, so the results load on A11 and older.
set(CMAKE_SYSTEM_NAME iOS)
set(CMAKE_SYSTEM_PROCESSOR arm64)
set(CMAKE_OSX_ARCHITECTURES arm64)
set(CMAKE_OSX_DEPLOYMENT_TARGET 14.0)
set(GW_IOS_TARGET arm64-apple-ios14.0)

if(NOT GW_IOS_SDK)
  if(DEFINED ENV{GW_IOS_SDK} AND NOT "$ENV{GW_IOS_SDK}" STREQUAL "")
    set(GW_IOS_SDK "$ENV{GW_IOS_SDK}")
  else()
    get_filename_component(gw_default_sdk
                           "${CMAKE_CURRENT_LIST_DIR}/../../shared/ios-sdk/iPhoneOS15.6.sdk" ABSOLUTE)
    if(IS_DIRECTORY "${gw_default_sdk}")
      set(GW_IOS_SDK "${gw_default_sdk}")
    endif()
  endif()
endif()
if(NOT IS_DIRECTORY "${GW_IOS_SDK}/System/Library/Frameworks")
  message(FATAL_ERROR "No iPhoneOS SDK found: set GW_IOS_SDK (environment or -DGW_IOS_SDK=) to an "
                      "iPhoneOS*.sdk folder (now: '${GW_IOS_SDK}').")
endif()
get_filename_component(GW_IOS_SDK "${GW_IOS_SDK}" REALPATH)
set(GW_IOS_SDK "${GW_IOS_SDK}" CACHE PATH "The iPhoneOS SDK the device build compiles against")
set(CMAKE_OSX_SYSROOT "${GW_IOS_SDK}")
set(CMAKE_SYSROOT "${GW_IOS_SDK}")
# Forwarded to CMake's compiler checks, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES GW_IOS_SDK)

find_program(GW_CLANG clang-14 REQUIRED)
find_program(GW_CLANGXX clang++-14 REQUIRED)
set(CMAKE_C_COMPILER ${GW_CLANG})
set(CMAKE_CXX_COMPILER ${GW_CLANGXX})
set(CMAKE_OBJCXX_COMPILER ${GW_CLANGXX})
foreach(lang C CXX OBJCXX)
  set(CMAKE_${lang}_COMPILER_TARGET ${GW_IOS_TARGET})
endforeach()
set(CMAKE_AR /usr/lib/llvm-14/bin/llvm-ar CACHE FILEPATH "" FORCE)
set(CMAKE_RANLIB /usr/lib/llvm-14/bin/llvm-ranlib CACHE FILEPATH "" FORCE)
set(CMAKE_INSTALL_NAME_TOOL /usr/lib/llvm-14/bin/llvm-install-name-tool CACHE FILEPATH "" FORCE)

# Debian's Mach-O lld; it needs the linker version to write the platform load command.
set(gw_link_flags "-fuse-ld=/usr/lib/llvm-14/bin/ld64.lld -mlinker-version=711 -stdlib=libc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${gw_link_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${gw_link_flags}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${gw_link_flags}")
set(CMAKE_CXX_FLAGS_INIT "-stdlib=libc++")
set(CMAKE_OBJCXX_FLAGS_INIT "-stdlib=libc++")
# A host LIBRARY_PATH would reach the linker as -L folders of the host.
foreach(lang C CXX OBJCXX)
  set(CMAKE_${lang}_LINKER_LAUNCHER env -u LIBRARY_PATH)
endforeach()
# The compiler checks build a static library: nothing to link before the project says how.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(CMAKE_FIND_ROOT_PATH "${GW_IOS_SDK}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
