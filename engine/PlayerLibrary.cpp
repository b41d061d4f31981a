// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PlayerLibrary.h"

#include "platform/ModulePath.h"

#include <QLibrary>

PlayerLibrary::PlayerLibrary() = default;

// QLibrary's destructor does not unload, so the library stays as the engine
// left it.
PlayerLibrary::~PlayerLibrary() = default;

int PlayerLibrary::Load(const char* name) {
  std::lock_guard lock(m_Lock);
  if (m_hLibrary)
    return 1;
  if (!name)
    return 2;
  auto library = std::make_unique<QLibrary>(QString::fromStdString(platform::resolveModulePath(name)));
  if (!library->load())
    return 4;
  m_pfnEntry = reinterpret_cast<player::EntryFn>(library->resolve(player::kExportEntry));
  m_pfnSetInst = reinterpret_cast<player::SetInstFn>(library->resolve(player::kExportSetInst));
  m_pfnSetW = reinterpret_cast<player::SetWFn>(library->resolve(player::kExportSetW));
  m_pfnCmdDirect = reinterpret_cast<player::CmdDirectFn>(library->resolve(player::kExportCmdDirect));
  m_hLibrary = std::move(library);
  return m_pfnEntry && m_pfnSetInst && m_pfnSetW && m_pfnCmdDirect ? 0 : 3;
}

bool PlayerLibrary::Unload(const std::function<bool()>& readyToRelease) {
  std::lock_guard lock(m_Lock);
  if (!m_hLibrary || !readyToRelease())
    return false;
  const ExportPointers exports = TakeExportPointers();
  if (!m_hLibrary->unload()) {
    RestoreExportPointers(exports); // still loaded, so still valid
    return false;
  }
  m_hLibrary.reset();
  return true;
}

bool PlayerLibrary::IsLoaded() const {
  std::lock_guard lock(m_Lock);
  return m_hLibrary != nullptr;
}

PlayerLibrary::ExportPointers PlayerLibrary::TakeExportPointers() {
  return {m_pfnEntry.exchange(nullptr), m_pfnSetInst.exchange(nullptr), m_pfnSetW.exchange(nullptr),
          m_pfnCmdDirect.exchange(nullptr)};
}

void PlayerLibrary::RestoreExportPointers(const ExportPointers& exports) {
  m_pfnEntry = exports.entry;
  m_pfnSetInst = exports.setInst;
  m_pfnSetW = exports.setW;
  m_pfnCmdDirect = exports.cmdDirect;
}
