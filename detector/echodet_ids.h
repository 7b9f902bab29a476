// SPDX-License-Identifier: GPL-3.0-or-later
// The identity of the Echodet sound-card control: everything a host needs to create
// it and call it late-bound. These values are a published binary contract; hosts are
// built against them, so they never change once released.
#pragma once

#include "platform/com/types.h"

namespace echodet {

// Class Cards, as hosts create it by name.
inline constexpr char kProgID[] = "Echodet.Cards";

// Type library "Echodet", version 1.0, locale 0x409.
// {161B1695-2A86-4F33-ACA9-B01826097625}
inline constexpr GUID LIBID_Echodet = {
    0x161B1695, 0x2A86, 0x4F33, {0xAC, 0xA9, 0xB0, 0x18, 0x26, 0x09, 0x76, 0x25}};
inline constexpr unsigned short kTypeLibMajor = 1;
inline constexpr unsigned short kTypeLibMinor = 0;

// Class Cards. {647FF8DE-A292-4C63-BBFF-03FA5C4785EF}
inline constexpr CLSID CLSID_Cards = {
    0x647FF8DE, 0xA292, 0x4C63, {0xBB, 0xFF, 0x03, 0xFA, 0x5C, 0x47, 0x85, 0xEF}};

// _Cards, the default (dual) interface of Cards.
// {A7BAFD64-B801-4C2A-B3C9-242D1C2A5A6D}
inline constexpr IID IID_Cards = {
    0xA7BAFD64, 0xB801, 0x4C2A, {0xB3, 0xC9, 0x24, 0x2D, 0x1C, 0x2A, 0x5A, 0x6D}};

// __Cards, the default source (event) interface of Cards; it has no members.
// {BC9DA284-950A-4B61-B31A-CD02EA92FF24}
inline constexpr IID DIID_CardsEvents = {
    0xBC9DA284, 0x950A, 0x4B61, {0xB3, 0x1A, 0xCD, 0x02, 0xEA, 0x92, 0xFF, 0x24}};

// Dispatch identifiers of the members of _Cards.
inline constexpr DISPID kDispidCardValue = 0x68030000;  // Boolean property, read and write
inline constexpr DISPID kDispidGo = 0x60030003;         // method: probe for sound cards
inline constexpr DISPID kDispidAbout = 0x60030004;      // method: show the About box

}  // namespace echodet
