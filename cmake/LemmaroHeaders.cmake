# SPDX-License-Identifier: GPL-3.0-or-later
# Each library shows its users its own headers and nothing else. Headers are included
# by their path from the source root ("platform/forms/form.h"), so a library's include
# directory is a small tree of its own in the build directory, holding links to just the
# files or folders it exports. A file that includes a header of a library it does not
# link fails to compile: that is how the layers are kept.
#
#   lemmaro_export_headers(<target> <PUBLIC|INTERFACE> <path from the source root>...)
function(lemmaro_export_headers target scope)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  foreach(path IN LISTS ARGN)
    get_filename_component(parent ${root}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()
