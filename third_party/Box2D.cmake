# Box2D 2.4.1 as Debian 12 ships it (source package box2d 2.4.1-3, fetched
# once by scripts/box2d-source into third_party/box2d/), compiled into the
# build:
#
# - box2d (alias box2d::box2d): static, position-independent, hidden
#   symbols, with the project's patches of third_party/box2d-patches/ applied
#   on top of Debian's own. Everything of the plug-in links this one, so the
#   module carries its own Box2D and asks the dynamic linker for none of it.
# - box2d_plain: the same Debian tree without the project's pair pass, every
#   name inside namespace b2plain, for the tests and benchmarks that compare
#   with Box2D's own code (third_party/plain/PlainBox2D.h). Its symbols cannot
#   meet the patched ones: both can live in one program. It carries only the
#   patches that make Box2D sound without changing what it computes.
#
# The tree is checked file for file against its pin before anything is built
# (third_party/Box2DPin.cmake). Box2D's assertions stay on, as Debian builds
# them (no NDEBUG).

set(ZOLVAR_BOX2D_TREE "${PROJECT_SOURCE_DIR}/third_party/box2d/box2d-2.4.1"
    CACHE PATH "Box2D 2.4.1 as unpacked from Debian's source package box2d 2.4.1-3")
# Patches that only make Box2D sound (both libraries), then the pair pass
# (the plug-in's library alone).
set(ZOLVAR_BOX2D_SOUND_PATCHES "${PROJECT_SOURCE_DIR}/third_party/box2d-patches/saturating-statistics.patch")
set(ZOLVAR_BOX2D_PATCHES ${ZOLVAR_BOX2D_SOUND_PATCHES}
    "${PROJECT_SOURCE_DIR}/third_party/box2d-patches/indexed-pair-pass.patch")

if(NOT EXISTS "${ZOLVAR_BOX2D_TREE}/src/dynamics/b2_contact_manager.cpp")
    message(FATAL_ERROR "Box2D's source is missing from ${ZOLVAR_BOX2D_TREE}: "
        "scripts/setup (or scripts/box2d-source) fetches Debian's box2d 2.4.1-3 there.")
endif()

# The version: Box2D 2.4.1 (its CMake project; b2_version in 2.4.1's own
# sources still reads 2.4.0), unpacked from Debian's 2.4.1-3.
file(STRINGS "${ZOLVAR_BOX2D_TREE}/CMakeLists.txt" box2d_project REGEX "^project\\(box2d VERSION ")
string(REGEX MATCH "VERSION ([0-9.]+)" box2d_match "${box2d_project}")
set(box2d_version "${CMAKE_MATCH_1}")
file(STRINGS "${ZOLVAR_BOX2D_TREE}/debian/changelog" box2d_changelog LIMIT_COUNT 1)
if(NOT box2d_version STREQUAL "2.4.1" OR NOT box2d_changelog MATCHES "^box2d \\(2\\.4\\.1-3\\)")
    message(FATAL_ERROR "The Box2D in ${ZOLVAR_BOX2D_TREE} is version '${box2d_version}' "
        "(${box2d_changelog}); the plug-in is written for Box2D 2.4.1 from Debian's box2d 2.4.1-3. "
        "Remove the folder and run scripts/setup to fetch it again.")
endif()

include("${CMAKE_CURRENT_LIST_DIR}/Box2DPin.cmake")
zolvar_check_box2d_tree("${ZOLVAR_BOX2D_TREE}" "${PROJECT_SOURCE_DIR}/third_party/box2d-2.4.1.sha256")

file(GLOB_RECURSE box2d_sources RELATIVE "${ZOLVAR_BOX2D_TREE}/src" "${ZOLVAR_BOX2D_TREE}/src/*.cpp" "${ZOLVAR_BOX2D_TREE}/src/*.h")
list(SORT box2d_sources)

# A patched tree: a copy of src/ in the build folder with `patches` applied;
# files are rewritten only when their text changes. Sets `out` to the copies
# of box2d_sources.
function(zolvar_box2d_patched_copy dest out)
    set(stage "${dest}-stage")
    file(REMOVE_RECURSE "${stage}")
    file(COPY "${ZOLVAR_BOX2D_TREE}/src" DESTINATION "${stage}")
    foreach(patch_file ${ARGN})
        execute_process(COMMAND "${ZOLVAR_PATCH}" -p1 --forward --batch --silent -i "${patch_file}"
            WORKING_DIRECTORY "${stage}"
            RESULT_VARIABLE patch_result OUTPUT_VARIABLE patch_out ERROR_VARIABLE patch_out)
        if(NOT patch_result EQUAL 0)
            message(FATAL_ERROR "${patch_file} does not apply to Box2D 2.4.1-3:\n${patch_out}")
        endif()
    endforeach()
    set(copies)
    foreach(f ${box2d_sources})
        configure_file("${stage}/src/${f}" "${dest}/src/${f}" COPYONLY)
        list(APPEND copies "${dest}/src/${f}")
    endforeach()
    file(REMOVE_RECURSE "${stage}")
    set(${out} ${copies} PARENT_SCOPE)
endfunction()

find_program(ZOLVAR_PATCH patch REQUIRED)
set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZOLVAR_BOX2D_PATCHES})
set(box2d_patched "${CMAKE_BINARY_DIR}/box2d-patched")
zolvar_box2d_patched_copy("${box2d_patched}" box2d_patched_sources ${ZOLVAR_BOX2D_PATCHES})

function(zolvar_box2d_library name)
    add_library(${name} STATIC ${ARGN})
    set_target_properties(${name} PROPERTIES
        POSITION_INDEPENDENT_CODE ON
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    # Debian builds Box2D without NDEBUG: its b2Assert checks stay on.
    target_compile_options(${name} PRIVATE -UNDEBUG)
endfunction()

zolvar_box2d_library(box2d ${box2d_patched_sources})
target_include_directories(box2d SYSTEM PUBLIC "${ZOLVAR_BOX2D_TREE}/include")
target_include_directories(box2d PRIVATE "${box2d_patched}/src")
add_library(box2d::box2d ALIAS box2d)

# The plain library: Debian's tree without the pair pass, compiled inside
# namespace b2plain. Its headers are a copy of Box2D's with their include
# guards and paths renamed, so that a file may include them next to the
# patched ones.
if(ZOLVAR_BUILD_TESTS OR ZOLVAR_BUILD_BENCH)
    set(box2d_plain "${CMAKE_BINARY_DIR}/box2d-plain")
    set(box2d_plain_tree "${CMAKE_BINARY_DIR}/box2d-plain-tree")
    zolvar_box2d_patched_copy("${box2d_plain_tree}" box2d_plain_copies ${ZOLVAR_BOX2D_SOUND_PATCHES})
    file(GLOB box2d_headers RELATIVE "${ZOLVAR_BOX2D_TREE}/include/box2d" "${ZOLVAR_BOX2D_TREE}/include/box2d/*.h")
    foreach(h ${box2d_headers})
        file(READ "${ZOLVAR_BOX2D_TREE}/include/box2d/${h}" text)
        string(REGEX REPLACE "([# ](ifndef|define|endif)[ /]*)(B2_[A-Z_]+_H|BOX2D_H)" "\\1PLAIN_\\3" text "${text}")
        string(REPLACE "#include \"box2d/" "#include \"b2plain/" text "${text}")
        file(CONFIGURE OUTPUT "${box2d_plain}/include/b2plain/${h}" CONTENT "${text}" @ONLY)
    endforeach()
    set(box2d_plain_sources)
    foreach(f ${box2d_sources})
        if(f MATCHES "\\.cpp$")
            string(MAKE_C_IDENTIFIER "${f}" id)
            file(CONFIGURE OUTPUT "${box2d_plain}/src/${id}.cpp" CONTENT
"// Box2D's ${f}, without the pair pass, inside namespace b2plain.
#include \"${PROJECT_SOURCE_DIR}/third_party/plain/PlainSystemHeaders.h\"
namespace b2plain {
#include \"${box2d_plain_tree}/src/${f}\"
}
" @ONLY)
            list(APPEND box2d_plain_sources "${box2d_plain}/src/${id}.cpp")
        endif()
    endforeach()
    zolvar_box2d_library(box2d_plain ${box2d_plain_sources})
    target_include_directories(box2d_plain PRIVATE "${ZOLVAR_BOX2D_TREE}/include" "${box2d_plain_tree}/src")
    target_include_directories(box2d_plain SYSTEM INTERFACE "${box2d_plain}/include" "${PROJECT_SOURCE_DIR}/third_party/plain")
endif()
