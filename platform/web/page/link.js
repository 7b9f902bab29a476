// SPDX-License-Identifier: GPL-3.0-or-later
// What the page tells the game's thread: the events' numbers (platform/web/page_link.h)
// and the keys' names (hostcore::KeyName).
export const Event = {
  Press: 1, Release: 2, Move: 3, Key: 4, BoxText: 5, BoxFocus: 6, Activate: 7, Dismiss: 8,
  Close: 9, Painted: 10,
};
export const KeyName = { Letter: 0, Backspace: 1, Escape: 2, Enter: 3, Space: 4, Tab: 5, BackTab: 6, Other: 7 };

// A key as the game tells keys apart, or null for one the page leaves to the browser.
export function keyOf(e) {
  const shortcut = e.ctrlKey || e.altKey || e.metaKey;
  let name = KeyName.Other, letter = 0;
  if (e.key === 'Tab') name = e.shiftKey ? KeyName.BackTab : KeyName.Tab;
  else if (e.key === 'Backspace') name = KeyName.Backspace;
  else if (e.key === 'Escape') name = KeyName.Escape;
  else if (e.key === 'Enter') name = KeyName.Enter;
  else if (e.key === ' ') name = KeyName.Space;
  else if (/^Key[A-Z]$/.test(e.code) || /^[a-z]$/i.test(e.key)) {
    name = KeyName.Letter;
    letter = (/^[a-z]$/i.test(e.key) ? e.key.toUpperCase() : e.code.slice(3)).charCodeAt(0);
  } else if (e.key.length !== 1) {
    return null;  // function keys, arrows and the like: the browser's own
  }
  return { name, letter, shortcut };
}
