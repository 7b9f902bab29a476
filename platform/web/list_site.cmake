# SPDX-License-Identifier: GPL-3.0-or-later
# Writes SITE/files.json: every file of the site, for the page's worker to keep for
# playing offline (cmake -DSITE=... -P list_site.cmake).
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files files.json sw.js)
list(SORT files)
set(json "")
foreach(f IN LISTS files)
  if(json)
    string(APPEND json ",\n")
  endif()
  string(APPEND json "  \"${f}\"")
endforeach()
file(WRITE ${SITE}/files.json "[\n${json}\n]\n")
