// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAstat2.h"

#include "engine/QIRAAdap.h"
#include "engine/QIRAstat0.h"
#include "platform/Diagnostics.h"

void QIRAstat2::PrintStateName() { platform::diagnostic("####stat2\n"); }

int QIRAstat2::ClosePlayer() { return m_pAdap->m_pStat0->ClosePlayer(); }

int QIRAstat2::StartPlayer(const char*, const char*) { return 0; }

int QIRAstat2::LoadFile(const char*, const char*) { return 0; }

int QIRAstat2::Play() { return 0; }

int QIRAstat2::SetVideoPosition(uint8_t, uint32_t, uint32_t, uint32_t, uint32_t) { return 0; }
