// Which family of Windows this is.
#pragma once

// True on the NT family (GetVersionExW reports platform id 2). Asked with the extended
// structure first and the basic one when that fails; a second failure counts as not NT.
bool isWindowsNt();
