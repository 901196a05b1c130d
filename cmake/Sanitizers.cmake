# AddressSanitizer + UndefinedBehaviorSanitizer for every target when Y4_SANITIZE is on.
if(Y4_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
if(Y4_FUZZ)
    # The core is instrumented for coverage; the fuzz targets add the libFuzzer main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
