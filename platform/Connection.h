// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// Whether the map page can be reached. The page ships inside the program, so
// it always can; tiles from the network are the page's own concern.
bool isConnected();

} // namespace platform
