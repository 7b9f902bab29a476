// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds on the page: the game's controls as real elements over the
// board, with their roles and names, the keyboard's place on them, the name box as a
// real text field, and what the game says as a live region. The game decides all of it
// (hostcore's accessible tree); this only makes it into elements.
import { Event } from './link.js';

export class Access {
  constructor(layer, messages, board, send) {
    this.layer = layer;
    this.messages = messages;
    this.board = board;
    this.send = send;
    this.buttons = new Map();  // item index -> element
    this.inputs = [];          // the text boxes' fields, by box index
    this.boxItems = [];        // the accessible names of the boxes
    this.scale = 1;
    this.focusAt = -1;
  }

  place(element, [x, y, w, h]) {
    const s = this.scale;
    Object.assign(element.style, { left: `${x * s}px`, top: `${y * s}px`, width: `${w * s}px`,
                                   height: `${h * s}px` });
  }

  items(list) {
    const keep = new Set();
    for (const item of list) {
      if (item.role === 'text') {
        // The name box's own field carries its name.
        const box = this.inputs.find((input) => input.dataset.rect === String(item.r));
        if (box) box.setAttribute('aria-label', item.name);
        continue;
      }
      keep.add(item.i);
      let element = this.buttons.get(item.i);
      const tag = item.role === 'label' ? 'div' : 'button';
      if (!element || element.tagName.toLowerCase() !== tag) {
        element?.remove();
        element = document.createElement(tag);
        element.dataset.item = item.i;
        if (tag === 'button') {
          element.type = 'button';
          element.tabIndex = -1;  // the game walks the controls with Tab itself
          // The mouse reaches the board under it, and the game takes the keys itself:
          // a click here is a reader's own press, the item's action.
          element.addEventListener('click', () => this.send(Event.Activate, Number(element.dataset.item)));
        } else {
          element.className = 'label';
        }
        this.layer.append(element);
      }
      if (tag === 'button') {
        element.setAttribute('aria-label', item.name);
        element.setAttribute('aria-disabled', String(!item.enabled));
        if (item.role === 'toggle') element.setAttribute('aria-pressed', String(item.checked));
      } else {
        element.textContent = item.name;
      }
      element.dataset.r = String(item.r);
      this.place(element, item.r);
    }
    for (const [i, element] of this.buttons) if (!keep.has(i)) element.remove();
    this.buttons = new Map([...keep].map((i) => [i, this.layer.querySelector(`[data-item="${i}"]`)]));
    this.focus(this.focusAt);
  }

  boxes(list) {
    list.forEach((box, n) => {
      let input = this.inputs[n];
      if (!input) {
        input = document.createElement('input');
        input.type = 'text';
        input.autocomplete = 'off';
        input.spellcheck = false;
        input.setAttribute('autocapitalize', 'characters');
        input.addEventListener('input', () => this.send(Event.BoxText, n, 0, 0, input.value));
        input.addEventListener('focus', () => this.send(Event.BoxFocus, n));
        this.layer.append(input);
        this.inputs[n] = input;
      }
      input.dataset.rect = String(box.r);
      this.place(input, box.r);
      input.hidden = !box.visible;
      input.disabled = !box.enabled;
      if (box.max > 0) input.maxLength = box.max;
      Object.assign(input.style, {
        font: `${box.bold ? 'bold ' : ''}${box.px * this.scale}px "Lemmaro Sans", sans-serif`,
        color: box.fore, background: box.back, textAlign: box.align,
      });
      if (document.activeElement !== input && input.value !== box.text) input.value = box.text;
    });
    this.lastBoxes = list;
  }

  // The game changed a box's text (it writes the name in capitals): the field follows,
  // keeping the caret where the player left it.
  boxTexts(which) {
    for (const n of which) {
      const input = this.inputs[n], text = this.lastBoxes?.[n]?.text;
      if (!input || text === undefined || input.value === text) continue;
      const caret = input.selectionStart;
      input.value = text;
      input.setSelectionRange(Math.min(caret, text.length), Math.min(caret, text.length));
    }
  }

  // -1: the board; 1000 + n: text box n; otherwise an item.
  focus(at) {
    this.focusAt = at;
    const target = at >= 1000 ? this.inputs[at - 1000] : at >= 0 ? this.buttons.get(at) : this.board;
    const dialogOpen = document.querySelector('dialog[open]');
    if (target && !dialogOpen && document.activeElement !== target) target.focus({ preventScroll: true });
  }

  // The game's news, spoken by the reader: a new element each time, so that the same
  // verdict twice is spoken twice.
  say(text) {
    const line = document.createElement('p');
    line.textContent = text;
    this.messages.replaceChildren(line);
  }

  rescale(scale) {
    this.scale = scale;
    for (const element of this.layer.children) {
      const r = (element.dataset.r || element.dataset.rect || '').split(',').map(Number);
      if (r.length === 4) this.place(element, r);
    }
    if (this.lastBoxes) this.boxes(this.lastBoxes);
  }
}
