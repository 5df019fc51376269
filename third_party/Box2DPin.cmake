# The pin of Box2D's source tree: third_party/box2d-2.4.1.sha256 lists the
# SHA-256 of every file of Debian's box2d 2.4.1-3 as scripts/box2d-source
# unpacks it, Debian's own patches applied (sha256sum's format, paths
# relative to the tree; quilt's .pc/ folder, the fetch's .unpacked mark and
# Box2D's documentation folder docs/, which nothing builds, are not part of
# it). The project's patches are applied later, to copies in
# the build folder, and are not part of it either.
#
# zolvar_check_box2d_tree(TREE MANIFEST) stops the configure when a file of
# TREE was changed, added or removed, naming them. Every pinned file is a
# configure dependency: a file edited after the configure stops the next
# build the same way.

function(zolvar_check_box2d_tree tree manifest)
    file(STRINGS "${manifest}" lines)
    set(pinned)
    set(sums)
    foreach(line IN LISTS lines)
        if(NOT line MATCHES "^([0-9a-f]+)  (.+)$")
            message(FATAL_ERROR "${manifest}: this line is not \"SHA-256  path\": ${line}")
        endif()
        list(APPEND sums "${CMAKE_MATCH_1}")
        list(APPEND pinned "${CMAKE_MATCH_2}")
    endforeach()

    file(GLOB_RECURSE present LIST_DIRECTORIES false RELATIVE "${tree}" "${tree}/*")
    list(FILTER present EXCLUDE REGEX "^(\\.pc/|docs/|\\.unpacked$)")
    set(changed)
    set(added)
    foreach(f IN LISTS present)
        list(FIND pinned "${f}" at)
        if(at LESS 0)
            list(APPEND added "${f}")
        elseif(IS_DIRECTORY "${tree}/${f}")
            # A link to a folder where a file was.
            list(APPEND changed "${f}")
        else()
            file(SHA256 "${tree}/${f}" sum)
            list(GET sums ${at} expected)
            if(NOT sum STREQUAL expected)
                list(APPEND changed "${f}")
            endif()
        endif()
    endforeach()
    set(missing ${pinned})
    if(present)
        list(REMOVE_ITEM missing ${present})
    endif()

    if(changed OR added OR missing)
        set(report)
        foreach(kind changed added missing)
            list(LENGTH ${kind} count)
            if(count GREATER 0)
                list(SUBLIST ${kind} 0 10 shown)
                list(JOIN shown "\n    " shown)
                string(APPEND report "\n  ${kind} (${count}):\n    ${shown}")
                if(count GREATER 10)
                    string(APPEND report "\n    ...")
                endif()
            endif()
        endforeach()
        message(FATAL_ERROR "Box2D's source in ${tree} is not Debian's box2d 2.4.1-3 as pinned in "
            "${manifest}:${report}\n"
            "The build compiles that tree as Debian ships it; the project's own changes to Box2D are the "
            "patches of third_party/box2d-patches/. Remove ${tree} and run scripts/box2d-source to fetch it "
            "again.")
    endif()

    set(dependencies "${manifest}")
    foreach(f IN LISTS pinned)
        list(APPEND dependencies "${tree}/${f}")
    endforeach()
    set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${dependencies})
endfunction()
