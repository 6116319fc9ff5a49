# Warnings and sanitizers applied to every target of the project.
if(GW_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

function(gw_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(GW_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
