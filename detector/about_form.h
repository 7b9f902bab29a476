// SPDX-License-Identifier: GPL-3.0-or-later
// The control's About box (frmAbout). Each system draws it with its own toolkit, in
// a file of its own that the build picks: Qt on Linux, a Win32 dialog on Windows.
#pragma once

#include "platform/com/types.h"

namespace echodet {

// Shows the About box modally and returns when it is closed. With Qt, fails with
// E_UNEXPECTED when the host has no widget application to show it in, and with
// RPC_E_WRONG_THREAD off the host's user-interface thread; on Windows, a failing
// system call comes back as its status. If the box is already
// open (a host calling again from inside its modal loop), brings it to the front
// and returns S_FALSE at once.
HRESULT showAboutBox();

}  // namespace echodet
