// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/LibraryGlobals.h"

int g_bFolderLabelSet = 0;
QString g_szEventFolder;
