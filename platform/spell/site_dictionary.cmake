# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the page's dictionary in the site: it_IT.aff and it_IT.dic from the folder FROM
# when it has them, else the whole files WHOLE_AFF and WHOLE_DIC; into the folder TO,
# touching nothing that is already the same.
#
#   cmake -DFROM=DIR -DWHOLE_AFF=FILE -DWHOLE_DIC=FILE -DTO=DIR -P site_dictionary.cmake
if(FROM AND EXISTS "${FROM}/it_IT.aff" AND EXISTS "${FROM}/it_IT.dic")
  set(aff "${FROM}/it_IT.aff")
  set(dic "${FROM}/it_IT.dic")
else()
  message(WARNING "No page dictionary in '${FROM}' (the Linux build's web_dictionary target): "
                  "the site carries the whole one, four times the download")
  set(aff "${WHOLE_AFF}")
  set(dic "${WHOLE_DIC}")
endif()
file(MAKE_DIRECTORY "${TO}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${aff}" "${TO}/it_IT.aff"
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${dic}" "${TO}/it_IT.dic"
                COMMAND_ERROR_IS_FATAL ANY)
