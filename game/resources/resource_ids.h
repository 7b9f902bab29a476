// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The numbers by which the game names its pointers and pictures. Plain macros, so that
// a Windows resource script can include this file as well; the build makes the Qt
// resource list from it too. This is the one place the numbers are written. (Not IDC_
// and IDI_: the system headers of Windows use those names for their own.)
#define RES_CURSOR_HAND 101      /* pointing hand, over what takes a click */
#define RES_CURSOR_HOURGLASS 102 /* while the game is busy */
#define RES_ICON_AUDIO_ON 101    /* the speaker with waves */
#define RES_ICON_AUDIO_OFF 102   /* the speaker without */
