// SPDX-License-Identifier: GPL-3.0-or-later
// The four entry points the engine looks up by name.
#include "engine/PlayerContract.h"
#include "player/PlayerHost.h"
#include "player/PlayerSession.h"

#define PLAYER_EXPORT extern "C" __attribute__((visibility("default")))

PLAYER_EXPORT int Tamsel(int argc, char** argv) {
  PlayerHost& host = PlayerHost::instance();
  if (argc < player::kArgumentCount || !argv || !argv[player::kArgPath1] || !argv[player::kArgPath2]) {
    host.diagnostic("player: the entry needs seven arguments ending in two paths");
    host.report(player::kEventPlayerEnded);
    return 1;
  }
  if (!host.beginRun()) {
    host.diagnostic("player: already running");
    return 1;
  }
  int result = 0;
  {
    PlayerSession session(host, argv[player::kArgPath1], argv[player::kArgPath2]);
    result = session.run();
  }
  host.endRun();
  return result;
}

PLAYER_EXPORT void setInst(void* context) { PlayerHost::instance().setContext(context); }

PLAYER_EXPORT void setW(player::Callback callback) { PlayerHost::instance().setCallback(callback); }

PLAYER_EXPORT int cmd_direct(const char* command) {
  PlayerHost::instance().submitText(command);
  return 0;
}
