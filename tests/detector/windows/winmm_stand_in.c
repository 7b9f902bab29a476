// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-in for the system's multimedia library: reports STAND_IN_DEVICES wave-output
// devices, so that the control's probe can be checked the same way on machines with
// and without sound hardware. Built as winmm.dll beside the client, and preferred
// to the system's through WINEDLLOVERRIDES.
// No system header: they declare the real function, imported from the real library.
__declspec(dllexport) unsigned int __stdcall waveOutGetNumDevs(void) { return STAND_IN_DEVICES; }

// Lets the client tell this stand-in from the system's library once it is loaded.
__declspec(dllexport) int echodet_stand_in = STAND_IN_DEVICES;
