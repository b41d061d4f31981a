# SPDX-License-Identifier: GPL-3.0-or-later
# The dependency direction between the folders, checked on the link graph when
# the tree is configured: a layer that links what it may not use stops the
# configure instead of compiling quietly.

# lumenark_linked_targets(target result): every name that `target` links,
# directly or through the targets it links. Imported targets found in a folder
# are not visible here, so a name is kept even where it cannot be followed.
function(lumenark_linked_targets target result)
  set(pending ${target})
  set(found "")
  while(pending)
    list(POP_FRONT pending current)
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      set(current ${aliased})
    endif()
    get_target_property(direct ${current} LINK_LIBRARIES)
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS direct interface)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.+)>$" "\\1" link "${link}")
      if(link MATCHES "^[A-Za-z0-9_:.+-]+$" AND NOT link IN_LIST found)
        list(APPEND found ${link})
        if(TARGET ${link})
          list(APPEND pending ${link})
        endif()
      endif()
    endforeach()
  endwhile()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

# lumenark_forbid_links(TARGETS ... FORBIDDEN ...): none of TARGETS may reach
# a name matching any of the FORBIDDEN patterns; targets this configuration
# does not build are skipped.
function(lumenark_forbid_links)
  cmake_parse_arguments(RULE "" "" "TARGETS;FORBIDDEN" ${ARGN})
  foreach(target IN LISTS RULE_TARGETS)
    if(NOT TARGET ${target})
      continue()
    endif()
    lumenark_linked_targets(${target} linked)
    foreach(pattern IN LISTS RULE_FORBIDDEN)
      set(offending ${linked})
      list(FILTER offending INCLUDE REGEX "${pattern}")
      if(offending)
        message(FATAL_ERROR "${target} links ${offending}, which its layer may not use")
      endif()
    endforeach()
  endforeach()
endfunction()

# Every Qt module that brings Qt Widgets in.
set(LUMENARK_QT_WIDGETS "^Qt6::(.*Widgets|PrintSupport)$")

function(lumenark_check_layers)
  lumenark_forbid_links(TARGETS telemetry_parsing telemetry_export drives media_walker lumenark_media FORBIDDEN "^Qt6::")
  lumenark_forbid_links(TARGETS engine FORBIDDEN ${LUMENARK_QT_WIDGETS} "^(player_core|mplayer)$")
  lumenark_forbid_links(TARGETS player_core mplayer FORBIDDEN "^engine$")
  lumenark_forbid_links(TARGETS controls display library map_view overview output dialogs FORBIDDEN "^app_window$")
endfunction()
