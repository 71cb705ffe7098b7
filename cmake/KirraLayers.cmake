# Layers as libraries whose include roots hold nothing but themselves.
#
# Every source includes with the layer first ("engine/Plugin.h"). If the targets shared src/ as
# an include root, any file could include any header. Instead each layer gets a root of its own
# in the build tree: a directory with a single link, named after the layer, to the layer's
# sources. A target sees the roots of the layers it links and no others, so an include that
# points the wrong way (an operator including the editor) fails to compile.

set(KIRRA_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

# Creates the include root for the sources in source_dir, reached as "name/..."; its directory
# goes to root_var.
function(kirra_include_root root_var name source_dir)
    set(root ${KIRRA_INCLUDE_ROOTS}/${name})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${source_dir} ${root}/${name} SYMBOLIC)
    set(${root_var} ${root} PARENT_SCOPE)
endfunction()

# A static library of every source under src/name; whoever links it may include its headers.
# Links to lower layers are added by the caller, PRIVATE unless the layer's own headers expose
# their types.
function(kirra_add_layer target name)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cpp)
    add_library(${target} STATIC ${sources})
    kirra_include_root(root ${name} ${PROJECT_SOURCE_DIR}/src/${name})
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# A test that a source of `target` cannot include `header`: the compiler, given exactly the
# target's include directories, must report the header missing. A second test compiles an
# include the target is allowed, so the first cannot pass because the command itself is broken.
function(kirra_add_layer_test target header allowed_header)
    set(probes ${CMAKE_BINARY_DIR}/layer-probes)
    string(MAKE_C_IDENTIFIER "${target}_${header}" name)
    file(WRITE ${probes}/${name}.cpp "#include \"${header}\"\n")
    string(MAKE_C_IDENTIFIER "${target}_${allowed_header}" allowed_name)
    file(WRITE ${probes}/${allowed_name}.cpp "#include \"${allowed_header}\"\n")
    set(includes "-I$<JOIN:$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>,$<SEMICOLON>-I>")
    add_test(NAME Layers.${target}.Rejects.${header}
        COMMAND ${CMAKE_CXX_COMPILER} -std=c++17 -fsyntax-only ${includes} ${probes}/${name}.cpp
        COMMAND_EXPAND_LISTS)
    # gcc says "No such file or directory", clang "file not found".
    set_tests_properties(Layers.${target}.Rejects.${header} PROPERTIES
        PASS_REGULAR_EXPRESSION "${header}.*(No such file|not found)")
    add_test(NAME Layers.${target}.Accepts.${allowed_header}
        COMMAND ${CMAKE_CXX_COMPILER} -std=c++17 -fsyntax-only ${includes}
            ${probes}/${allowed_name}.cpp
        COMMAND_EXPAND_LISTS)
endfunction()
