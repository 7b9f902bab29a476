// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the picture the game sends (platform/web/display.cpp) on the board's canvas, as
// the other windows paint the same form: the artwork, then each control bottom-most
// first, sharp at every device pixel ratio. Shapes combine with the pixels under them by
// the game's raster operations, computed by the program itself (applyDrawMode).

const FACES = { sans: '"Lemmaro Sans", "Liberation Sans", sans-serif',
                serif: '"Lemmaro Serif", "Liberation Serif", serif' };

const fontOf = (item, px = item.px) => `${item.bold ? 'bold ' : ''}${px}px ${FACES[item.face]}`;

function loadImage(url) {
  return new Promise((resolve) => {
    const image = new Image();
    // Decoded ahead, away from the page's thread, not at its first drawing.
    image.onload = () => image.decode().then(() => resolve(image), () => resolve(image));
    image.onerror = () => resolve(null);  // a missing picture shows nothing in its place
    image.src = url;
  });
}

// Draws the captions' letters once in each face and size the board uses, so that the
// first picture does not wait for the browser to make their glyphs.
export async function warmUpFaces(sizes = [11, 13, 16, 18, 24, 32]) {
  await Promise.all(Object.keys(FACES).map((face) =>
    document.fonts.load(fontOf({ face, bold: true }, 16)).catch(() => null)));
  const ctx = new OffscreenCanvas(8, 8).getContext('2d');
  for (const face of Object.keys(FACES))
    for (const px of sizes) {
      ctx.font = fontOf({ face, bold: true }, px);
      ctx.fillText('ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghilmnoprstuvz0123456789:!°', 0, 8);
    }
}

export class Painter {
  constructor(canvas, applyDrawMode) {
    this.canvas = canvas;
    this.applyDrawMode = applyDrawMode;
    this.images = new Map();
    this.picture = null;
    this.scale = 1;
    this.k = window.devicePixelRatio || 1;
  }

  // The pictures and faces a picture needs, before it is painted for the first time.
  async ready(picture) {
    const urls = [];
    if (picture.art) urls.push(this.artwork(picture.art));
    for (const item of picture.items) if (item.k === 'image' && item.pic) urls.push(`art/icon-${item.pic}.svg`);
    const faces = new Set(picture.items.filter((i) => i.face).map((i) => fontOf(i, 16)));
    await Promise.all([
      ...urls.filter((u) => !this.images.has(u)).map(async (u) => this.images.set(u, await loadImage(u))),
      ...[...faces].map((f) => document.fonts.load(f).catch(() => null)),
    ]);
  }

  // The artwork as the window draws it, for this screen's pixels (1, 2 or 3 to a pixel
  // of the board).
  artwork(name) {
    return `art/${name}@${Math.min(3, Math.max(1, Math.ceil(this.k - 0.01)))}x.png`;
  }

  // The board's size on the page: its own, or smaller where the screen is.
  fit(width, height, scale) {
    const k = scale * (window.devicePixelRatio || 1);
    const w = Math.round(width * k), h = Math.round(height * k);
    if (this.canvas.width !== w || this.canvas.height !== h) {
      this.canvas.width = w;
      this.canvas.height = h;
    }
    this.canvas.style.width = `${width * scale}px`;
    this.canvas.style.height = `${height * scale}px`;
    this.scale = scale;
    this.k = k;
  }

  paint(picture) {
    this.picture = picture;
    const ctx = this.canvas.getContext('2d', { willReadFrequently: true });
    const k = this.k;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.fillStyle = picture.back;
    ctx.fillRect(0, 0, this.canvas.width, this.canvas.height);
    ctx.setTransform(k, 0, 0, k, 0, 0);
    const art = picture.art && this.images.get(this.artwork(picture.art));
    if (picture.art && !this.images.has(this.artwork(picture.art))) {
      // A screen of another ratio: its picture comes, then the board again.
      this.ready(picture).then(() => this.picture === picture && this.paint(picture));
    }
    if (art) {
      // At its own size: the picture holds `ratio` pixels to a pixel of the board.
      const ratio = Number(/@(\d)x/.exec(this.artwork(picture.art))[1]);
      ctx.imageSmoothingQuality = 'high';
      ctx.drawImage(art, 0, 0, art.naturalWidth / ratio, art.naturalHeight / ratio);
    }
    for (const item of picture.items) {
      ctx.save();
      switch (item.k) {
        case 'label': this.label(ctx, item); break;
        case 'shape': this.shape(ctx, item); break;
        case 'line': this.line(ctx, item); break;
        case 'image': this.image(ctx, item); break;
        case 'box': this.box(ctx, item); break;
        case 'list': this.list(ctx, item); break;
      }
      ctx.restore();
    }
  }

  // A rect in device pixels, its edges on pixel boundaries.
  device([x, y, w, h]) {
    const k = this.k;
    const left = Math.round(x * k), top = Math.round(y * k);
    return [left, top, Math.round((x + w) * k) - left, Math.round((y + h) * k) - top];
  }

  edges(ctx, [x, y, w, h], colour) {
    ctx.fillStyle = colour;
    const one = 1 / this.scale;  // a pixel of the board, however it is scaled
    ctx.fillRect(x, y, w, one);
    ctx.fillRect(x, y + h - one, w, one);
    ctx.fillRect(x, y, one, h);
    ctx.fillRect(x + w - one, y, one, h);
  }

  clip(ctx, [x, y, w, h]) {
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
  }

  // Lines of a caption that wrap at word boundaries inside `width`, as the others draw them.
  wrap(ctx, text, width) {
    const lines = [];
    for (const paragraph of text.replace(/\r\n?/g, '\n').split('\n')) {
      let line = '';
      for (const word of paragraph.split(/(?<= )/)) {
        const next = line + word;
        if (line && ctx.measureText(next.trimEnd()).width > width) {
          lines.push(line.trimEnd());
          line = word;
        } else {
          line = next;
        }
      }
      lines.push(line.trimEnd());
    }
    return lines;
  }

  text(ctx, item, r, lines, font, top) {
    ctx.font = font;
    const m = ctx.measureText('Hg');
    const ascent = m.fontBoundingBoxAscent ?? m.actualBoundingBoxAscent;
    const height = ascent + (m.fontBoundingBoxDescent ?? m.actualBoundingBoxDescent);
    ctx.textBaseline = 'alphabetic';
    ctx.textAlign = item.align;
    const x = item.align === 'left' ? r[0] : item.align === 'right' ? r[0] + r[2] : r[0] + r[2] / 2;
    const k = this.k;
    lines.forEach((line, n) => {
      // Baselines on whole device pixels keep small captions crisp.
      const y = Math.round((top + ascent + n * height) * k) / k;
      if (item.enabled === false) {
        // Disabled captions are etched, as the system draws them.
        ctx.fillStyle = '#ffffff';
        ctx.fillText(line, x + 1, y + 1);
        ctx.fillStyle = '#808080';
      } else {
        ctx.fillStyle = item.fore;
      }
      ctx.fillText(line, x, y);
    });
    return height;
  }

  label(ctx, item) {
    const r = item.r;
    if (item.opaque) {
      ctx.fillStyle = item.back;
      ctx.fillRect(...r);
    }
    if (item.text) {
      ctx.save();
      this.clip(ctx, r);
      if (item.shrink) {
        // One line, in a smaller size when it would not fit, keeping the line's middle.
        ctx.font = fontOf(item);
        const full = ctx.measureText('Hg');
        const fullHeight = full.fontBoundingBoxAscent + full.fontBoundingBoxDescent;
        let px = item.px;
        const line = item.text.replace(/[\r\n]+/g, ' ');
        while (px > 1 && (ctx.font = fontOf(item, px), ctx.measureText(line).width > r[2])) px -= 1;
        const m = ctx.measureText('Hg');
        const top = r[1] + (fullHeight - (m.fontBoundingBoxAscent + m.fontBoundingBoxDescent)) / 2;
        this.text(ctx, item, r, [line], fontOf(item, px), top);
      } else {
        ctx.font = fontOf(item);
        this.text(ctx, item, r, this.wrap(ctx, item.text, r[2]), fontOf(item), r[1]);
      }
      ctx.restore();
    }
    if (item.border) this.edges(ctx, r, '#000000');
  }

  line(ctx, item) {
    const width = Math.max(1, item.bw);
    // Odd widths on pixel centres, even ones on pixel edges: straight lines stay sharp.
    const snap = (v) => (width % 2 ? Math.floor(v) + 0.5 : Math.round(v));
    let [x1, y1, x2, y2] = item.p;
    if (x1 === x2) x1 = x2 = snap(x1);
    if (y1 === y2) y1 = y2 = snap(y1);
    ctx.strokeStyle = item.colour;
    ctx.lineWidth = width;
    ctx.lineCap = 'round';
    ctx.beginPath();
    ctx.moveTo(x1, y1);
    ctx.lineTo(x2, y2);
    ctx.stroke();
  }

  image(ctx, item) {
    const icon = this.images.get(`art/icon-${item.pic}.svg`);
    if (!icon) return;
    this.clip(ctx, item.r);
    ctx.drawImage(icon, item.r[0], item.r[1], 32, 32);  // at its own size
  }

  box(ctx, item) {
    // The page covers this with a live text field; painting it as the field looks keeps
    // the picture whole: a flat sunken frame, darker at the top and the left.
    ctx.fillStyle = item.back;
    ctx.fillRect(...item.r);
    this.edges(ctx, item.r, '#5a4632');
    const one = 1 / this.scale;
    ctx.fillStyle = '#3a2a1c';
    ctx.fillRect(item.r[0], item.r[1], item.r[2], one);
    ctx.fillRect(item.r[0], item.r[1], one, item.r[3]);
    this.clip(ctx, item.r);
    ctx.font = fontOf(item);
    ctx.textAlign = item.align;
    ctx.textBaseline = 'middle';
    ctx.fillStyle = item.fore;
    const [x, y, w, h] = item.r;
    const at = item.align === 'left' ? x + 2 : item.align === 'right' ? x + w - 2 : x + w / 2;
    ctx.fillText(item.text, at, y + h / 2);
  }

  list(ctx, item) {
    ctx.fillStyle = '#ffffff';
    ctx.fillRect(...item.r);
    this.edges(ctx, item.r, '#606060');
    this.clip(ctx, item.r);
    ctx.font = fontOf({ face: 'sans', bold: true }, 11);
    ctx.fillStyle = '#000000';
    ctx.textBaseline = 'middle';
    ctx.textAlign = 'left';
    item.items.forEach((text, n) => ctx.fillText(text, item.r[0] + 2, item.r[1] + 1 + 6.5 + n * 13));
  }

  // The shape's outline as coverage, 0..255 for each device pixel of its rect.
  coverage(kind, w, h, inset) {
    if (kind === 'rect') {
      // Whole device pixels: each is inside or outside, no need to draw it.
      const alpha = new Uint8Array(w * h);
      if (w - 2 * inset > 0 && h - 2 * inset > 0)
        for (let y = inset; y < h - inset; y++) alpha.fill(255, y * w + inset, y * w + w - inset);
      return alpha;
    }
    const mask = new OffscreenCanvas(Math.max(1, w), Math.max(1, h));
    const m = mask.getContext('2d', { willReadFrequently: true });
    m.fillStyle = '#000';
    m.beginPath();
    if (kind === 'circle') {
      const d = Math.min(w, h) - 2 * inset;
      if (d > 0) m.ellipse(w / 2, h / 2, d / 2, d / 2, 0, 0, 2 * Math.PI);
    } else if (w - 2 * inset > 0 && h - 2 * inset > 0) {
      const radius = kind === 'round' ? Math.min(Math.min(w, h) / 4, 10 * this.k) - inset : 0;
      if (radius > 0) m.roundRect(inset, inset, w - 2 * inset, h - 2 * inset, radius);
      else m.rect(inset, inset, w - 2 * inset, h - 2 * inset);
    }
    m.fill();
    const data = m.getImageData(0, 0, Math.max(1, w), Math.max(1, h)).data;
    const alpha = new Uint8Array(w * h);
    for (let i = 0; i < alpha.length; i++) alpha[i] = data[i * 4 + 3];
    return alpha;
  }

  shape(ctx, item) {
    const [left, top, w, h] = this.device(item.r);
    if (w <= 0 || h <= 0) return;
    const border = Math.max(1, Math.round(Math.max(1, item.bw) * this.k));
    const key = `${item.shape}|${w}|${h}|${border}`;
    this.masks ??= new Map();
    let masks = this.masks.get(key);
    if (!masks) {
      if (this.masks.size >= 64) this.masks.clear();
      masks = [this.coverage(item.shape, w, h, 0), this.coverage(item.shape, w, h, border)];
      this.masks.set(key, masks);
    }
    const [outer, inner] = masks;
    const x0 = Math.max(0, left), y0 = Math.max(0, top);
    const x1 = Math.min(this.canvas.width, left + w), y1 = Math.min(this.canvas.height, top + h);
    if (x1 <= x0 || y1 <= y0) return;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    const image = ctx.getImageData(x0, y0, x1 - x0, y1 - y0);
    const px = image.data;
    // The operations work on each channel alone: what the program answers for every
    // level of one channel under the pen is a table for all the pixels.
    const table = (pen) => {
      const t = new Uint8Array(768);
      for (let v = 0; v < 256; v++) {
        const out = this.applyDrawMode(item.mode, v | (v << 8) | (v << 16), pen);
        t[v] = out & 255;
        t[256 + v] = (out >> 8) & 255;
        t[512 + v] = (out >> 16) & 255;
      }
      return t;
    };
    const tables = new Map();
    const tableOf = (pen) => tables.get(pen) || tables.set(pen, table(pen)).get(pen);
    const op = (dest, pen) => {
      const t = tableOf(pen);
      return t[dest & 255] | (t[256 + ((dest >> 8) & 255)] << 8) | (t[512 + ((dest >> 16) & 255)] << 16);
    };
    for (let y = y0; y < y1; y++) {
      for (let x = x0; x < x1; x++) {
        const at = (y - top) * w + (x - left);
        const ci = inner[at];
        const co = Math.max(outer[at], ci);
        if (co === 0) continue;
        const o = ((y - y0) * (x1 - x0) + (x - x0)) * 4;
        const d = px[o] | (px[o + 1] << 8) | (px[o + 2] << 16);
        let out;
        if (ci === 255) {
          if (!item.filled) continue;
          out = op(d, item.fill);
        } else if (co === 255 && ci === 0) {
          out = op(d, item.pen);
        } else {
          // A pixel partly covered: the fill's part, the border's part and the rest of
          // the pixel as it was.
          const f = item.filled ? op(d, item.fill) : d;
          const b = op(d, item.pen);
          out = 0;
          for (let s = 0; s < 24; s += 8) {
            const c = (((d >> s) & 255) * (255 - co) + ((f >> s) & 255) * ci +
                       ((b >> s) & 255) * (co - ci) + 127) / 255;
            out |= (c | 0) << s;
          }
        }
        px[o] = out & 255;
        px[o + 1] = (out >> 8) & 255;
        px[o + 2] = (out >> 16) & 255;
      }
    }
    ctx.putImageData(image, x0, y0);
  }
}
