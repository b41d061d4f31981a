// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlayerContract.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class QLibrary;

// The player library loaded at run time and its four exports. The exports are
// cleared before the code they point to is released, and put back when the
// release fails, so no thread can call into a library that is gone. Its
// destruction leaves the library loaded: the engine outlives its last player.
class PlayerLibrary {
public:
  PlayerLibrary();
  ~PlayerLibrary();
  PlayerLibrary(const PlayerLibrary&) = delete;
  PlayerLibrary& operator=(const PlayerLibrary&) = delete;

  // 0 loaded with its exports; 1 already loaded; 2 no name; 3 an export is
  // missing (the library stays loaded); 4 cannot be loaded.
  int Load(const char* name);
  // Releases the library once `readyToRelease`, run under the library's lock,
  // agrees. False when none is loaded, it does not agree, or the release failed.
  bool Unload(const std::function<bool()>& readyToRelease);
  bool IsLoaded() const;

  player::EntryFn Entry() const { return m_pfnEntry; }
  player::SetInstFn SetInst() const { return m_pfnSetInst; }
  player::SetWFn SetW() const { return m_pfnSetW; }
  player::CmdDirectFn CmdDirect() const { return m_pfnCmdDirect; }

private:
  struct ExportPointers {
    player::EntryFn entry;
    player::SetInstFn setInst;
    player::SetWFn setW;
    player::CmdDirectFn cmdDirect;
  };
  ExportPointers TakeExportPointers();
  void RestoreExportPointers(const ExportPointers& exports);

  // Guards the handle; the exports are atomics that every thread reads.
  mutable std::mutex m_Lock;
  std::unique_ptr<QLibrary> m_hLibrary;
  std::atomic<player::EntryFn> m_pfnEntry{nullptr};
  std::atomic<player::SetInstFn> m_pfnSetInst{nullptr};
  std::atomic<player::SetWFn> m_pfnSetW{nullptr};
  std::atomic<player::CmdDirectFn> m_pfnCmdDirect{nullptr};
};
