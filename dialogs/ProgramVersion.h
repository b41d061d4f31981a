// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shown as "Ver 1.05" by the main window and the information dialog.
inline constexpr char kProgramVersion[] = "1.05";
inline constexpr char kVersionFormat[] = "Ver %s";
