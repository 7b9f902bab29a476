// SPDX-License-Identifier: GPL-3.0-or-later
// Pixels of the board at its first frame whose colour does not depend on the deal, as
// the Linux window paints them (tools/make_screenshot, Qt offscreen), at scale 1. The
// page must paint the same: the lamp is drawn in its own colour, the tinted panels mix
// their colour into the artwork with the form's raster operations.
export const knownPixels = [
  { what: 'the seven-letter lamp, red (setteok)', x: 465, y: 219, rgb: [192, 0, 0] },
  { what: 'the record panel, blue merged into the artwork (Shape11)', x: 450, y: 150,
    rgb: [57, 144, 255] },
  { what: 'the time panel, red merged into the artwork (Shape8)', x: 450, y: 300,
    rgb: [255, 66, 56] },
  { what: 'the artwork: the information panel', x: 520, y: 200, rgb: [42, 99, 67] },
  { what: 'the artwork: the message panel', x: 100, y: 150, rgb: [244, 239, 228] },
];

// The artwork is drawn by another renderer in each window: its pixels, and the panels
// mixed into them, may differ by a little; the lamp covers the artwork and must be exact.
export const tolerance = (p) => (p.what.includes('lamp') ? 0 : 6);

export const off = (a, b) => Math.max(...a.map((v, i) => Math.abs(v - b[i])));
