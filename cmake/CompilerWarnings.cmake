# One interface target that every target of the project links for its warning flags.
add_library(y4_warnings INTERFACE)
target_compile_options(y4_warnings INTERFACE
    -Wall -Wextra -Wpedantic $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local> -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough
    # World positions must stay bit-identical whatever the target's FMA support.
    -ffp-contract=off)
if(Y4_WERROR)
    target_compile_options(y4_warnings INTERFACE -Werror)
endif()
