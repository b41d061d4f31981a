// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Where the map's tiles come from: OpenStreetMap's standard tiles unless the
// user's configuration folder holds "map-tiles.txt", whose first line is
// the tile address ("{z}/{x}/{y}" placeholders; empty for no tiles) and whose
// second line is the attribution to show.
struct MapTiles {
  std::string address;
  std::string attribution;

  static MapTiles FromConfiguration();
};
