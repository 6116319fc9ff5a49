# Warnings and sanitizers applied to every target of the project.
# float-cast-overflow (a float converted to an integer that cannot hold it) is not part of
# "undefined" in GCC, and only Clang checks it reliably, so CI builds this with Clang.
if(GW_SANITIZE)
  set(GW_SANITIZERS address,undefined,float-cast-overflow)
  add_compile_options(-fsanitize=${GW_SANITIZERS} -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${GW_SANITIZERS})
endif()

function(gw_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(GW_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
