// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace platform {

// The file behind a library name: a name with a folder is taken as it is; a
// bare "name.dll" becomes the platform's module file ("libname.so") beside
// the executable.
std::string resolveModulePath(const std::string& name);

// Folder of the running executable.
std::string executableDir();

} // namespace platform
